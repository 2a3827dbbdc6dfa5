// A stand-in for the video drawing library that lacks DrawDibDraw.
#include <cstdint>

extern "C" {
uint32_t VideoForWindowsVersion() { return 0x010A0000; }
void* DrawDibOpen() { return nullptr; }
int DrawDibClose(void*) { return 1; }
int DrawDibBegin(void*, void*, int, int, void*, int, int, unsigned) { return 1; }
int DrawDibEnd(void*) { return 1; }
unsigned DrawDibRealize(void*, void*, int) { return 0; }
void* DrawDibGetPalette(void*) { return nullptr; }
int DrawDibSetPalette(void*, void*) { return 1; }
}
