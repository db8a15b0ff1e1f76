// The libFuzzer build compiles stb_image from its header into the picture
// target, so that the decoder's branches guide the fuzzer and its memory
// accesses are checked; the program itself links the packaged library, built
// from the same header.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
