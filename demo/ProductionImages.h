// The production's images, loaded once by the content set-up and owned by the graphics
// context's texture registry (freed at shutdown). Null until loaded.
#pragma once

#include <string>

#include "gfx/Texture.h"

inline constexpr int kTextImageCount = 4;

// The tube's starfield (parts 1 and 2).
extern kelvo::Texture* g_texStars;
// The tube of part 0 and the text overlay until the logo.
extern kelvo::Texture* g_texNieluspace;
extern kelvo::Texture* g_texLogo;
// The texts of part 1, shown in turn.
extern kelvo::Texture* g_texText[kTextImageCount];
extern kelvo::Texture* g_texCredits;

// Reads the file into the data file cache under exactly this name and makes its texture.
kelvo::Texture* loadProductionImage(const std::string& name);

// Empties the pointers above when the content that loaded them ends: the textures themselves are
// freed with the graphics context's registry, after which the pointers would dangle.
void forgetProductionImages();
