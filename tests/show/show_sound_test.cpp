// The sound behind a show played in virtual time: which player each file
// goes to, the embedded sounds' temporary files, the show's music kept or
// restarted slide after slide, replays, the advance at a sound's end, the
// minimised hold, and the end of the show by a termination signal.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "document/stored_names.h"
#include "music/mod_player.h"
#include "platform/audio/wave_out.h"
#include "platform/os/signals.h"
#include "show/show_sound.h"
#include "show/show_wnd.h"
#include "tests/support/show_harness.h"
#include "tests/support/sound_files.h"

namespace pellora {
namespace {

using test::HeadlessShow;
using test::ShowWindow;

// One slide's JSON: a picture, an immediate cut, and the given fields.
std::string Slide(const std::string& fields) {
  return R"({"picture": "red.bmp", "fit": "stretch", "transition": 1, )" + fields + "}";
}

class ShowSound : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(dir.File("red.bmp"), test::SolidBmp(16, 16, 255, 0, 0));
  }

  std::string Pack(const std::string& documentFields, const std::vector<std::string>& slides) {
    std::string json = "{" + (documentFields.empty() ? "" : documentFields + ", ") +
                       R"("background": {"kind": "colour"}, "loopShow": 0, "slides": [)";
    for (size_t i = 0; i < slides.size(); ++i) json += (i ? "," : "") + Slide(slides[i]);
    return test::PackShow(dir, json + "]}");
  }

  void Write(const std::string& name, const std::string& bytes) { test::WriteFile(dir.File(name), bytes); }

  // The "dia" files in the player's temporary folder.
  std::vector<std::string> DiaFiles() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
      if (entry.path().filename().string().rfind("dia", 0) == 0) found.push_back(entry.path().string());
    return found;
  }

  // Records a value at each of the given virtual times.
  template <class T, class F>
  std::shared_ptr<std::vector<T>> Sample(HeadlessShow& show, const std::vector<uint64_t>& times, F read) {
    auto seen = std::make_shared<std::vector<T>>(times.size());
    for (size_t i = 0; i < times.size(); ++i) show.At(times[i], [seen, i, read] { (*seen)[i] = read(); });
    return seen;
  }

  static int Index() { return ShowWindow() ? ShowWindow()->currentIndex : -1; }

  test::TempDir dir;
  test::TempDir temp;
  // The player's temporary files go to a folder of the test's own.
  test::ScopedTempFolder tmpdir{temp.path().string()};
};

// Milliseconds of module sound the headless wave output played, by the
// virtual time each block finished.
struct Capture {
  std::vector<std::pair<uint64_t, double>> blocks;
  void Attach(HeadlessShow& show) {
    HeadlessBackend* backend = &show.Backend();
    backend->onWaveData = [this, backend](const WaveFormat& format, const uint8_t*, size_t bytes) {
      blocks.emplace_back(backend->Now(), 1000.0 * double(bytes) / format.avgBytesPerSec);
    };
  }
  double Between(uint64_t from, uint64_t to) const {
    double ms = 0;
    for (const auto& [at, length] : blocks)
      if (at >= from && at < to) ms += length;
    return ms;
  }
};

TEST(SoundFileKinds, ExtensionsDecideInAnyCase) {
  EXPECT_EQ(FileKind("song.xm"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("Song.MoD"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("C:\\Musique\\theme.S3M"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("a.stm"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("a.mtm"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("a.669"), FILE_KIND_MODULE);
  // The temporary file of an embedded "tune.xm".
  EXPECT_EQ(FileKind("/tmp/dia1F2E..xm"), FILE_KIND_MODULE);
  // Two characters decide for XM, three for the others.
  EXPECT_EQ(FileKind("a.xmz"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("a.x"), FILE_KIND_OTHER);
  EXPECT_EQ(FileKind("a.mo"), FILE_KIND_OTHER);
  EXPECT_EQ(FileKind("a.module"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind("song.mid"), FILE_KIND_MIDI);
  EXPECT_EQ(FileKind("song.WAV"), FILE_KIND_WAVE);
  EXPECT_EQ(FileKind("song.mp3"), FILE_KIND_OTHER);
  EXPECT_EQ(FileKind("photo.jpeg"), FILE_KIND_OTHER);
  EXPECT_EQ(FileKind("photo.Jpg"), FILE_KIND_PICTURE);
  EXPECT_EQ(FileKind("clip.avi"), FILE_KIND_VIDEO);
  EXPECT_EQ(FileKind("anim.flc"), FILE_KIND_ANIMATION);
  EXPECT_EQ(FileKind("show.dia"), FILE_KIND_SHOW);
  // Without a full stop the whole name is the extension.
  EXPECT_EQ(FileKind("MOD"), FILE_KIND_MODULE);
  EXPECT_EQ(FileKind(""), FILE_KIND_OTHER);
}

TEST_F(ShowSound, EmbeddedSoundsAreWrittenSafely) {
  namespace fs = std::filesystem;
  std::string wav = test::ToneWav(0.5);
  GlobalBlock block = GlobalBlock::Allocate(wav.size());
  std::copy(wav.begin(), wav.end(), block.data());
  CShowSound sound(nullptr);
  sound.tempDirectory = temp.path().string() + "/";
  // Owner-only, with the bytes of the block, and played.
  ASSERT_TRUE(sound.PlayEmbeddedSound(block, uint32_t(wav.size()), false, "wav"));
  EXPECT_EQ(fs::status(sound.tempSoundFile).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(test::ReadFile(sound.tempSoundFile), wav);
  EXPECT_NE(sound.mciDeviceId, 0);
  // The next sound deletes the previous file first.
  std::string first = sound.tempSoundFile;
  // An extension that names another folder stays in this one.
  ASSERT_TRUE(sound.PlayEmbeddedSound(block, uint32_t(wav.size()), false, "/.."));
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(fs::path(sound.tempSoundFile).parent_path(), temp.path());
  EXPECT_TRUE(std::regex_match(fs::path(sound.tempSoundFile).filename().string(), std::regex("dia[0-9A-F]+\\._\\.\\.")));
  // A count beyond the block writes the block; the extension of the
  // reserved name itself leaves one file.
  ASSERT_TRUE(sound.PlayEmbeddedSound(block, uint32_t(wav.size() + 5000), false, "tmp"));
  EXPECT_EQ(fs::file_size(sound.tempSoundFile), wav.size());
  EXPECT_EQ(DiaFiles().size(), 1u);
  sound.StopSound();
  EXPECT_TRUE(DiaFiles().empty());
  EXPECT_EQ(sound.mciDeviceId, 0);
  // No block, or a folder that cannot be written to: nothing is played or left.
  EXPECT_FALSE(sound.PlayEmbeddedSound(GlobalBlock(), 100, false, "wav"));
  sound.tempDirectory = temp.path().string() + "/absent/";
  EXPECT_FALSE(sound.PlayEmbeddedSound(block, uint32_t(wav.size()), false, "wav"));
  EXPECT_EQ(sound.tempSoundFile, "");
  EXPECT_EQ(sound.mciDeviceId, 0);
  EXPECT_TRUE(DiaFiles().empty());
}

TEST_F(ShowSound, ModulesGoToTheModulePlayerAndEverythingElseToTheMediaDevice) {
  Write("song.xm", test::ShortModule(16));
  Write("Song.MoD", test::ShortModule(16));
  Write("song.mid", test::NoteMidi(2));
  Write("song.wav", test::ToneWav(2));
  Write("song.mp3", test::SilentMp3(100));
  struct Case {
    const char* file;
    bool module;
  };
  for (Case c : {Case{"song.xm", true}, Case{"Song.MoD", true}, Case{"song.mid", false}, Case{"song.wav", false},
                 Case{"song.mp3", false}}) {
    SCOPED_TRACE(c.file);
    std::string package =
        Pack("", {R"("sound": "slide", "embedSound": false, "advance": "manual", "soundFile": ")" +
                  std::string(c.file) + "\""});
    HeadlessShow show;
    bool isModule = !c.module, modulePlaying = false, mci = false;
    MCIDEVICEID device = 0;
    std::string mciName;
    show.At(300, [&] {
      isModule = test::MainFrame()->sound.soundIsModule;
      modulePlaying = test::MainFrame()->sound.moduleActive && test::MainFrame()->sound.modulePlayer && test::MainFrame()->sound.modulePlayer->IsPlaying();
      mci = test::MainFrame()->sound.mciActive && test::MainFrame()->sound.mciPlaying;
      device = test::MainFrame()->sound.mciDeviceId;
      mciName = test::MainFrame()->sound.mciFileName;
    });
    show.Script("1000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_EQ(isModule, c.module);
    EXPECT_EQ(modulePlaying, c.module);
    EXPECT_EQ(mci, !c.module);
    EXPECT_EQ(device != 0, !c.module);
    if (!c.module) {
      EXPECT_EQ(mciName, dir.File(c.file));
    }
    // The show's end closed the device.
    EXPECT_FALSE(MciSetTimeFormat(device, MCI_FORMAT_MILLISECONDS));
  }
}

TEST_F(ShowSound, AnEmbeddedSoundKeepsItsExtensionOnDisk) {
  Write("tune.xm", test::ShortModule(16));
  Write("chime.WAV", test::ToneWav(2));
  std::string package = Pack("", {R"("sound": "slide", "soundFile": "tune.xm", "duration": 1)",
                                  R"("sound": "slide", "soundFile": "chime.WAV", "advance": "manual")"});
  HeadlessShow show;
  std::string moduleFile, waveFile;
  bool moduleExists = false, waveExists = false, module = false, mci = false;
  show.At(500, [&] {
    moduleFile = test::MainFrame()->sound.tempSoundFile;
    moduleExists = std::filesystem::exists(moduleFile);
    module = test::MainFrame()->sound.soundIsModule && test::MainFrame()->sound.moduleActive;
  });
  show.At(1500, [&] {
    waveFile = test::MainFrame()->sound.tempSoundFile;
    waveExists = std::filesystem::exists(waveFile);
    mci = !test::MainFrame()->sound.soundIsModule && test::MainFrame()->sound.mciActive;
  });
  show.Script("2000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  // In the temporary folder: "dia", the number, a full stop, then the
  // name's last three characters.
  std::string folder = temp.path().string();
  auto named = [&](const std::string& file, const char* pattern) {
    return file.rfind(folder, 0) == 0 && std::regex_match(file.substr(folder.size()), std::regex(pattern));
  };
  EXPECT_TRUE(named(moduleFile, "[/\\\\]dia[0-9A-F]+\\.\\.xm")) << moduleFile;
  EXPECT_TRUE(named(waveFile, "[/\\\\]dia[0-9A-F]+\\.WAV")) << waveFile;
  EXPECT_TRUE(moduleExists);
  EXPECT_TRUE(waveExists);
  EXPECT_TRUE(module);
  EXPECT_TRUE(mci);
  // Nothing is left: neither the sounds nor the names reserved for them.
  EXPECT_TRUE(DiaFiles().empty());
}

TEST_F(ShowSound, EachNewSoundDeletesThePreviousTemporaryFileAndTheShowsEndTheLast) {
  Write("a.wav", test::ToneWav(5, 440));
  Write("b.wav", test::ToneWav(5, 660));
  std::string package = Pack("", {R"("sound": "slide", "soundFile": "a.wav", "duration": 1)",
                                  R"("sound": "slide", "soundFile": "b.wav", "duration": 1)",
                                  R"("sound": "silence", "duration": 1)",
                                  R"("sound": "slide", "soundFile": "a.wav", "advance": "manual")"});
  HeadlessShow show;
  auto files = Sample<std::vector<std::string>>(show, {500, 1500, 2500, 3500}, [this] { return DiaFiles(); });
  auto names = Sample<std::string>(show, {500, 1500, 2500, 3500}, [] { return test::MainFrame()->sound.tempSoundFile; });
  show.Script("4000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  ASSERT_EQ((*files)[0].size(), 1u);
  EXPECT_EQ((*files)[0][0], (*names)[0]);
  ASSERT_EQ((*files)[1].size(), 1u);
  EXPECT_EQ((*files)[1][0], (*names)[1]);
  EXPECT_NE((*names)[1], (*names)[0]);
  // Silence stops the sound and deletes its file.
  EXPECT_TRUE((*files)[2].empty());
  EXPECT_EQ((*names)[2], "");
  EXPECT_EQ((*files)[3].size(), 1u);
  EXPECT_TRUE(DiaFiles().empty());
}

TEST_F(ShowSound, ShowMusicGoesOnAcrossMusicAndKeepSlidesAndStartsAgainAfterASlidesOwnSound) {
  Write("theme.wav", test::ToneWav(30));
  Write("own.wav", test::ToneWav(30, 880));
  std::string package =
      Pack(R"("music": "theme.wav", "embedMusic": false)",
           {R"("sound": "show-music", "duration": 1)", R"("sound": "show-music", "duration": 1)",
            R"("sound": "keep", "duration": 1)", R"("sound": "show-music", "duration": 1)",
            R"("sound": "slide", "soundFile": "own.wav", "embedSound": false, "duration": 1)",
            R"("sound": "show-music", "advance": "manual")"});
  HeadlessShow show;
  std::vector<uint64_t> times{500, 1500, 2500, 3500, 4500, 5500};
  auto devices = Sample<MCIDEVICEID>(show, times, [] { return test::MainFrame()->sound.mciDeviceId; });
  auto indexes = Sample<int>(show, times, &ShowSound::Index);
  auto names = Sample<std::string>(show, times, [] { return test::MainFrame()->sound.mciFileName; });
  show.Script("6000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(*indexes, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  const std::vector<MCIDEVICEID>& d = *devices;
  // The first slide starts the music; the next three leave it playing.
  EXPECT_NE(d[0], 0);
  EXPECT_EQ(d[1], d[0]);
  EXPECT_EQ(d[2], d[0]);
  EXPECT_EQ(d[3], d[0]);
  EXPECT_EQ((*names)[4], dir.File("own.wav"));
  // After the slide's own sound the music starts again from its start.
  EXPECT_NE(d[5], d[4]);
  EXPECT_NE(d[5], d[0]);
  EXPECT_EQ((*names)[5], dir.File("theme.wav"));
}

TEST_F(ShowSound, EmbeddedShowMusicKeepsItsFileAcrossMusicSlides) {
  Write("theme.mid", test::NoteMidi(30));
  std::string package = Pack(R"("music": "theme.mid")", {R"("sound": "show-music", "duration": 1)",
                                                         R"("sound": "keep", "duration": 1)",
                                                         R"("sound": "show-music", "advance": "manual")"});
  HeadlessShow show;
  auto names = Sample<std::string>(show, {500, 1500, 2500}, [] { return test::MainFrame()->sound.tempSoundFile; });
  show.Script("3000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_FALSE((*names)[0].empty());
  EXPECT_EQ((*names)[1], (*names)[0]);
  EXPECT_EQ((*names)[2], (*names)[0]);
  EXPECT_TRUE(DiaFiles().empty());
}

TEST_F(ShowSound, TwoSlidesWithTheirOwnSoundRestartEvenTheSameFile) {
  Write("same.wav", test::ToneWav(30));
  std::string package =
      Pack("", {R"("sound": "slide", "soundFile": "same.wav", "embedSound": false, "duration": 1)",
                R"("sound": "slide", "soundFile": "same.wav", "embedSound": false, "advance": "manual")"});
  HeadlessShow show;
  auto devices = Sample<MCIDEVICEID>(show, {500, 1500}, [] { return test::MainFrame()->sound.mciDeviceId; });
  show.Script("2000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_NE((*devices)[0], 0);
  EXPECT_NE((*devices)[1], 0);
  EXPECT_NE((*devices)[1], (*devices)[0]);
}

TEST_F(ShowSound, ALoopingMediaSoundPlaysAgainWhileTheSlideDoesNotWait) {
  Write("short.wav", test::ToneWav(1));
  std::string package = Pack(R"("music": "short.wav", "embedMusic": false)", {R"("sound": "show-music",
                                                                                  "duration": 30)"});
  HeadlessShow show;
  auto devices = Sample<MCIDEVICEID>(show, {500, 1500, 2500}, [] { return test::MainFrame()->sound.mciDeviceId; });
  auto active = Sample<bool>(show, {2500}, [] { return test::MainFrame()->sound.mciActive && test::MainFrame()->sound.mciPlaying; });
  show.Script("3000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  const std::vector<MCIDEVICEID>& d = *devices;
  EXPECT_NE(d[0], 0);
  EXPECT_NE(d[1], d[0]);
  EXPECT_NE(d[2], d[1]);
  EXPECT_TRUE((*active)[0]);
}

TEST_F(ShowSound, ALoopingModulePlaysAgainWhileTheSlideDoesNotWait) {
  // Eight rows: just under a second.
  Write("loop.mod", test::ShortModule(8));
  std::string package = Pack(R"("music": "loop.mod")", {R"("sound": "show-music", "duration": 30)"});
  HeadlessShow show;
  Capture capture;
  capture.Attach(show);
  show.Script("4000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  // Sound all the time, well past the song's own end.
  EXPECT_GT(capture.Between(2000, 3000), 900);
  EXPECT_GT(capture.Between(3000, 4000), 900);
}

TEST_F(ShowSound, ASlideWaitingForItsSoundMovesOnWhenTheSoundEnds) {
  Write("chime.wav", test::ToneWav(1.5));
  Write("note.mid", test::NoteMidi(1.5));
  Write("tune.mod", test::ShortModule(12));  // 1.44 s
  for (const char* file : {"chime.wav", "note.mid", "tune.mod"}) {
    SCOPED_TRACE(file);
    std::string package = Pack("", {R"("sound": "slide", "advance": "sound-end", "soundFile": ")" +
                                         std::string(file) + "\"",
                                     R"("sound": "silence", "advance": "manual")"});
    HeadlessShow show;
    auto indexes = Sample<int>(show, {1300, 1800, 2500}, &ShowSound::Index);
    show.Script("3000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_EQ(*indexes, (std::vector<int>{0, 1, 1}));
    EXPECT_TRUE(DiaFiles().empty());
  }
}

TEST_F(ShowSound, MinimisedTheSlideDoesNotMoveOnAtTheSoundsEndUntilRestored) {
  Write("chime.wav", test::ToneWav(1));
  std::string package =
      Pack("", {R"("sound": "slide", "advance": "sound-end", "soundFile": "chime.wav")", R"("advance": "manual")"});
  HeadlessShow show;
  show.Script("300 minimize; 3000 restore; 4000 key escape");
  auto indexes = Sample<int>(show, {2900, 3200}, &ShowSound::Index);
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(*indexes, (std::vector<int>{0, 1}));
}

TEST_F(ShowSound, MinimisedALoopingModuleIsNotRestartedUntilRestored) {
  Write("loop.mod", test::ShortModule(8));
  std::string package = Pack(R"("music": "loop.mod")", {R"("sound": "show-music", "duration": 30)"});
  HeadlessShow show;
  Capture capture;
  capture.Attach(show);
  show.Script("300 minimize; 3000 restore; 5000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  // The song that was playing when the show was minimised plays to its end.
  EXPECT_GT(capture.Between(0, 1100), 900);
  EXPECT_EQ(capture.Between(1100, 3000), 0);
  EXPECT_GT(capture.Between(3000, 4100), 900);
}

TEST_F(ShowSound, OnlyTheOpenDevicesNotificationEndsItsSound) {
  Write("long.wav", test::ToneWav(30));
  std::string package = Pack(R"("music": "long.wav", "embedMusic": false)", {R"("sound": "show-music",
                                                                                 "advance": "manual")"});
  HeadlessShow show;
  MCIDEVICEID first = 0, afterStale = 0, afterOwn = 0;
  bool playingAfterStale = false;
  show.At(500, [&] {
    first = test::MainFrame()->sound.mciDeviceId;
    // The late end of a device closed before this one.
    PostMessage(test::MainFrame()->m_hWnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, LPARAM(first + 7));
  });
  show.At(600, [&] {
    afterStale = test::MainFrame()->sound.mciDeviceId;
    playingAfterStale = test::MainFrame()->sound.mciPlaying;
    PostMessage(test::MainFrame()->m_hWnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, LPARAM(first));
  });
  // Its own device's end replays the looping music.
  show.At(700, [&] { afterOwn = test::MainFrame()->sound.mciDeviceId; });
  show.Script("1000 key escape");
  EXPECT_EQ(show.Run(package), 0);
  EXPECT_EQ(afterStale, first);
  EXPECT_TRUE(playingAfterStale);
  EXPECT_NE(afterOwn, first);
  EXPECT_NE(afterOwn, 0);
}

TEST_F(ShowSound, AFileThatCannotBePlayedLeavesTheShowSilentAndWaiting) {
  Write("noise.mp3", std::string(5000, 'x'));
  Write("noise.xm", std::string(5000, 'x'));
  for (const char* file : {"noise.mp3", "noise.xm", "missing.wav"}) {
    SCOPED_TRACE(file);
    std::string package = Pack("", {R"("sound": "slide", "advance": "sound-end", "embedSound": false, "soundFile": ")" +
                                         std::string(file) + "\"",
                                     R"("advance": "manual")"});
    HeadlessShow show;
    bool silent = false;
    show.At(500, [&] { silent = !test::MainFrame()->sound.mciActive && !test::MainFrame()->sound.moduleActive && test::MainFrame()->sound.mciDeviceId == 0; });
    auto indexes = Sample<int>(show, {3000, 3600}, &ShowSound::Index);
    show.Script("3500 key right; 4000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_TRUE(silent);
    // Nothing ends, so only the viewer moves the show on.
    EXPECT_EQ(*indexes, (std::vector<int>{0, 1}));
  }
}

TEST_F(ShowSound, WithoutTemporaryFilesPicturesStillShowAndSlidesWaitingForASoundMoveOn) {
  Write("chime.wav", test::ToneWav(30));
  Write("tune.mod", test::ShortModule(64));
  struct Case {
    const char* document;
    const char* slide;
  } cases[] = {
      {"", R"("sound": "slide", "soundFile": "chime.wav", "advance": "sound-end")"},
      {"", R"("sound": "slide", "soundFile": "tune.mod", "advance": "sound-end")"},
      {R"("music": "chime.wav")", R"("sound": "show-music", "advance": "sound-end")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slide);
    std::string package = Pack(c.document, {c.slide, R"("sound": "keep", "advance": "manual")"});
    // No temporary file can be made, as when every name is taken.
    test::ScopedTempFolder noFolder{temp.path().string() + "/absent"};
    HeadlessShow show;
    uint32_t centre = 0;
    show.At(300, [&] { centre = show.Backend().LastFrame().Pixel(320, 240); });
    auto indexes = Sample<int>(show, {1500}, &ShowSound::Index);
    show.Script("2000 key escape");
    EXPECT_EQ(show.Run(package), 0);
    // The embedded picture, decoded from the package's bytes.
    EXPECT_EQ(centre, PixelFromRgb(255, 0, 0));
    EXPECT_EQ(*indexes, std::vector<int>{1});
    EXPECT_TRUE(DiaFiles().empty());
  }
}

TEST_F(ShowSound, ATerminationSignalEndsTheShowAndItsTemporaryFile) {
  Write("loop.wav", test::ToneWav(1));
  std::string package = Pack(R"("music": "loop.wav")", {R"("sound": "show-music", "duration": 30)"});
  for (TerminationSignal signal :
       {TerminationSignal::Terminate, TerminationSignal::HangUp, TerminationSignal::Interrupt}) {
    SCOPED_TRACE(int(signal));
    HeadlessShow show;
    size_t during = 0;
    show.At(900, [&] { during = DiaFiles().size(); });
    show.At(1000, [signal] { SendTerminationSignal(signal); });
    EXPECT_EQ(show.Run(package), 0);
    EXPECT_EQ(during, 1u);
    EXPECT_LT(show.EndTime(), 1100u);
    EXPECT_EQ(ShowWindow(), nullptr);
    EXPECT_TRUE(DiaFiles().empty());
  }
}

}  // namespace
}  // namespace pellora
