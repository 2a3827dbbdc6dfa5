// Sound files written by the tests: a WAV tone, a MIDI note, silent MPEG
// audio frames and a short tracker module, each of a known playing time;
// and modules rendered through the module player's block cycle.
#pragma once

#include <cstdint>
#include <string>

namespace pellora::test {

class TempDir;

// A 16-bit mono WAV of a sine tone.
std::string ToneWav(double seconds, int frequency = 440, uint32_t rate = 22050);

// A one-track standard MIDI file (96 ticks a quarter, the default tempo
// of half a second a quarter) holding one note for `seconds`.
std::string NoteMidi(double seconds);

// One MPEG-1 layer III frame header (mono, 44.1 kHz) of the given bit
// rate index, padded to its frame length with zeros: silence.
std::string SilentMp3Frame(int bitrateIndex = 9);
// `frames` such frames at 128 kbit/s: 1152 samples each.
std::string SilentMp3(int frames);

// A four-channel MOD playing a square tone for `rows` rows of 120 ms
// (speed 6, tempo 125), then ending.
std::string ShortModule(int rows);

// Writes bytes to a file of the folder and returns its path.
std::string WriteModule(const TempDir& dir, const std::string& name, const std::string& bytes);

// Renders a module file through the player's block cycle; the bytes of
// every block in order.
std::string RenderToMemory(const std::string& path, int* duration = nullptr, uint32_t rate = 44100,
                           uint16_t channels = 2, uint16_t bits = 16);

// Root mean square of 16-bit samples.
double Rms16(const std::string& pcm);

}  // namespace pellora::test
