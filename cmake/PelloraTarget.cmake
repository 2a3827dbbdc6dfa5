# pellora_target(<name> LIBRARY|PROGRAM|MODULE|OBJECT
#                [SOURCES file...] [EXCLUDE file...] [SYSTEM_PART]
#                [DEPENDS target...] [PRIVATE_DEPENDS target...])
#
# Every library, program and loadable module of the project is made here,
# so that each is built the same way: its sources are the .cpp files of the
# calling folder (less EXCLUDE) unless SOURCES names them; SYSTEM_PART adds
# those of the folder's posix/ or win32/ subfolder, for the system built
# for; the warnings are the target's own. Headers are named by their path
# from the project's root. A library passes DEPENDS on to those that use it
# and keeps PRIVATE_DEPENDS to itself; a program or module keeps both.
function(pellora_target name kind)
  cmake_parse_arguments(ARG "SYSTEM_PART" "" "SOURCES;EXCLUDE;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(excluded ${ARG_EXCLUDE})
      list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
  endif()
  if(ARG_SYSTEM_PART)
    if(WIN32)
      set(system win32)
    else()
      set(system posix)
    endif()
    file(GLOB system_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${system}/*.cpp)
    list(APPEND sources ${system_sources})
  endif()

  if(kind STREQUAL "LIBRARY" OR kind STREQUAL "OBJECT")
    if(kind STREQUAL "LIBRARY")
      add_library(${name} STATIC ${sources})
    else()
      add_library(${name} OBJECT ${sources})
    endif()
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
  elseif(kind STREQUAL "PROGRAM" OR kind STREQUAL "MODULE")
    if(kind STREQUAL "PROGRAM")
      add_executable(${name} ${sources})
    else()
      add_library(${name} MODULE ${sources})
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${ARG_PRIVATE_DEPENDS})
    # A portable program carries the C library calls it may not import.
    if(kind STREQUAL "PROGRAM" AND TARGET pellora_glibc_floor)
      target_link_libraries(${name} PRIVATE pellora_glibc_floor)
    endif()
  else()
    message(FATAL_ERROR "pellora_target: ${name}: unknown kind ${kind}")
  endif()

  target_compile_options(${name} PRIVATE -Wall -Wextra)
  if(MINGW)
    # GCC 12 warns falsely about overlapping copies in std::string
    # concatenation at -O3 (GCC bug 105329).
    target_compile_options(${name} PRIVATE -Wno-restrict)
  endif()
endfunction()
