#include "demo/ProductionImages.h"

#include "gfx/DataFileCache.h"
#include "gfx/GraphicsContext.h"

kelvo::Texture* g_texStars = nullptr;
kelvo::Texture* g_texNieluspace = nullptr;
kelvo::Texture* g_texLogo = nullptr;
kelvo::Texture* g_texText[kTextImageCount] = {nullptr, nullptr, nullptr, nullptr};
kelvo::Texture* g_texCredits = nullptr;

kelvo::Texture* loadProductionImage(const std::string& name) {
    kelvo::preloadDataFile(name);
    return kelvo::GraphicsContext::instance().loadTexture(name);
}

void forgetProductionImages() {
    g_texStars = nullptr;
    g_texNieluspace = nullptr;
    g_texLogo = nullptr;
    for (kelvo::Texture*& text : g_texText) {
        text = nullptr;
    }
    g_texCredits = nullptr;
}
