// The one translation unit holding the stb implementations the painter uses:
// PNG decoding, PNG writing and TrueType rasterising. Only PNG is decoded
// (skins carry nothing else), which keeps the decoder small.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
