# The libraries of the Linux programs. The portable build (PELLORA_PORTABLE,
# on unless the sanitizers are) makes programs that need only the C library
# on the viewer's machine, at glibc 2.34 or later: SDL2 is built statically
# from Debian's source package with its video and audio backends loaded at
# run time (scripts/build-portable-sdl.sh, once, into deps/sdl2 of the build
# folder), and libjpeg, libpng, zlib, FreeType and the C++ run-time are
# linked from their static libraries. SDL_mixer is never linked: the media
# device loads the desktop's at run time, and binds it to the program's own
# SDL, whose symbols the programs export for it.
include_guard()
if(PELLORA_SANITIZE OR PELLORA_FUZZ)
  set(portable_default OFF)
else()
  set(portable_default ON)
endif()
option(PELLORA_PORTABLE "Link the Linux programs to need only the C library" ${portable_default})

find_package(PkgConfig REQUIRED)
# Only SDL_mixer's header: its library is loaded at run time.
find_path(PELLORA_SDL_MIXER_HEADER_DIR SDL_mixer.h PATH_SUFFIXES SDL2 REQUIRED)
# The dialog fonts built into the programs.
find_file(PELLORA_SANS_REGULAR_FILE LiberationSans-Regular.ttf PATHS /usr/share/fonts/truetype/liberation REQUIRED)
find_file(PELLORA_SANS_BOLD_FILE LiberationSans-Bold.ttf PATHS /usr/share/fonts/truetype/liberation REQUIRED)

add_library(pellora_sdl2_library INTERFACE)
if(PELLORA_PORTABLE)
  set(sdl ${PROJECT_BINARY_DIR}/deps/sdl2)
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/build-portable-sdl.sh ${sdl} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "the static SDL could not be built (scripts/build-portable-sdl.sh)")
  endif()
  # SDL_mixer's header beside none of the system's SDL headers, so that
  # it includes the static SDL's.
  file(COPY ${PELLORA_SDL_MIXER_HEADER_DIR}/SDL_mixer.h DESTINATION ${sdl}/mixer)
  target_include_directories(pellora_sdl2_library SYSTEM INTERFACE ${sdl}/install/include/SDL2 ${sdl}/mixer)
  # Every member, exported: SDL_mixer calls what the program itself may not.
  target_link_options(pellora_sdl2_library INTERFACE LINKER:--whole-archive ${sdl}/install/lib/libSDL2.a
                      LINKER:--no-whole-archive LINKER:--export-dynamic-symbol=SDL_*)
  target_link_libraries(pellora_sdl2_library INTERFACE ${CMAKE_DL_LIBS} m Threads::Threads)

  # The static libraries of what the player links; the later finds of the
  # same packages take these (the tool's own picture formats stay shared).
  # (Found again at every configure: a build folder may hold the shared ones.)
  set(suffixes ${CMAKE_FIND_LIBRARY_SUFFIXES})
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
  foreach(variable ZLIB_LIBRARY_RELEASE PNG_LIBRARY_RELEASE JPEG_LIBRARY_RELEASE FREETYPE_LIBRARY_RELEASE)
    unset(${variable} CACHE)
  endforeach()
  find_package(ZLIB REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(Freetype REQUIRED)
  find_library(PELLORA_BROTLIDEC brotlidec REQUIRED)
  find_library(PELLORA_BROTLICOMMON brotlicommon REQUIRED)
  set(CMAKE_FIND_LIBRARY_SUFFIXES ${suffixes})
  # FreeType's own dependencies, which its static library leaves out.
  target_link_libraries(Freetype::Freetype INTERFACE PNG::PNG ${PELLORA_BROTLIDEC} ${PELLORA_BROTLICOMMON})
  set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static-libstdc++ -static-libgcc")
else()
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
  target_link_libraries(pellora_sdl2_library INTERFACE PkgConfig::SDL2)
  target_include_directories(pellora_sdl2_library SYSTEM INTERFACE ${PELLORA_SDL_MIXER_HEADER_DIR})
  find_package(Freetype REQUIRED)
endif()
