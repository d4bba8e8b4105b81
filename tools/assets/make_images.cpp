// Writes the show's pictures into a folder: the nebula and star images the tubes wrap around
// themselves (seamless in both directions), the logo, four text screens, the credits and the
// loading emblem. Letters are stored as a soft distance falloff (1 inside, fading to 0 within
// kFalloff pixels outside), which the overlay effect thresholds to make them bolder or thinner
// and to glow. Deterministic: fixed seeds, no clock. Usage: make_images FONT.ttf OUT_DIR
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#define STB_PERLIN_IMPLEMENTATION
#include <stb/stb_perlin.h>

namespace {

constexpr int kJpegQuality = 85;
constexpr float kFalloff = 24.0f;  // pixels over which the letters' brightness fades outside
constexpr float kEdge = 0.95f;     // brightness at the letters' outline
constexpr float kPi = 3.14159265f;

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour operator*(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Colour mix(Colour a, Colour b, float t) {
    return a * (1.0f - t) + b * t;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Colour> rgb;
    std::vector<float> alpha;

    Picture(int w, int h) : width(w), height(h), rgb(std::size_t(w) * h), alpha(rgb.size(), 1.0f) {}
    Colour& at(int x, int y) { return rgb[std::size_t(y) * width + x]; }

    std::vector<std::uint8_t> bytes(bool withAlpha) const {
        std::vector<std::uint8_t> out;
        out.reserve(rgb.size() * (withAlpha ? 4 : 3));
        auto byte = [](float v) {
            return std::uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        };
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            out.push_back(byte(rgb[i].r));
            out.push_back(byte(rgb[i].g));
            out.push_back(byte(rgb[i].b));
            if (withAlpha) {
                out.push_back(byte(alpha[i]));
            }
        }
        return out;
    }
};

bool writeJpg(const Picture& p, const std::string& path) {
    const auto data = p.bytes(false);
    return stbi_write_jpg(path.c_str(), p.width, p.height, 3, data.data(), kJpegQuality) != 0;
}

bool writePng(const Picture& p, const std::string& path) {
    const auto data = p.bytes(true);
    return stbi_write_png(path.c_str(), p.width, p.height, 4, data.data(), p.width * 4) != 0;
}

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    float next() {  // 0 .. 1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(state_ & 0xFFFFFF) / float(0x1000000);
    }

private:
    std::uint32_t state_;
};

// Fractal noise over a torus: x in [0, 1) wraps after `cellsX` noise cells, y after `cellsY`, so
// the picture tiles in both directions. Roughly -1 .. 1.
float tilingNoise(float x, float y, int cellsX, int cellsY, int octaves, unsigned char seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    int scale = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * stb_perlin_noise3_wrap_nonpow2(x * cellsX * scale, y * cellsY * scale,
                                                          float(i) * 7.31f, cellsX * scale,
                                                          cellsY * scale, 0, seed);
        amplitude *= 0.5f;
        scale *= 2;
    }
    return sum * 1.6f;
}

// A soft round star centred at (cx, cy), drawn with wrap-around so the picture stays seamless.
void addStar(Picture& p, float cx, float cy, float radius, Colour colour) {
    const int reach = int(std::ceil(radius * 4.0f));
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const int x = ((int(cx) + dx) % p.width + p.width) % p.width;
            const int y = ((int(cy) + dy) % p.height + p.height) % p.height;
            const float ox = float(int(cx) + dx) - cx;
            const float oy = float(int(cy) + dy) - cy;
            const float d2 = (ox * ox + oy * oy) / (radius * radius);
            p.at(x, y) =
                p.at(x, y) + colour * (std::exp(-d2 * 1.5f) + 0.08f * std::exp(-d2 * 0.1f));
        }
    }
}

void scatterStars(Picture& p, int count, float brightness, std::uint32_t seed) {
    Random random(seed);
    const std::array<Colour, 4> temperatures{
        {{0.75f, 0.85f, 1.0f}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.9f, 0.7f}, {0.7f, 0.8f, 1.0f}}};
    for (int i = 0; i < count; ++i) {
        const float x = random.next() * float(p.width);
        const float y = random.next() * float(p.height);
        const float power = std::pow(random.next(), 6.0f);  // many faint, a few bright
        const Colour tone = temperatures[std::size_t(random.next() * 3.99f)];
        addStar(p, x, y, 0.7f + power * 2.6f, tone * (brightness * (0.35f + power * 1.8f)));
    }
}

Picture makeNebula() {
    Picture p(1024, 512);
    const Colour deep{0.02f, 0.02f, 0.08f};
    const Colour violet{0.35f, 0.12f, 0.55f};
    const Colour rose{0.85f, 0.3f, 0.45f};
    const Colour ember{1.0f, 0.65f, 0.3f};
    const Colour teal{0.1f, 0.45f, 0.6f};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float u = float(x) / float(p.width);
            const float v = float(y) / float(p.height);
            const float cloud =
                std::clamp(0.5f + 0.6f * tilingNoise(u, v, 4, 2, 7, 11), 0.0f, 1.0f);
            const float hueShift =
                std::clamp(0.5f + 0.8f * tilingNoise(u, v, 2, 1, 4, 23), 0.0f, 1.0f);
            const float ridge = 1.0f - std::fabs(tilingNoise(u, v, 6, 3, 6, 37));
            const float filament = std::pow(std::clamp(ridge, 0.0f, 1.0f), 8.0f);
            Colour c = mix(teal, violet, hueShift);
            c = mix(c, rose, std::clamp(hueShift * 1.6f - 0.7f, 0.0f, 1.0f));
            const float density = std::pow(cloud, 2.2f);
            Colour result = deep + c * (density * 1.3f) + ember * (filament * density * 0.9f);
            p.at(x, y) = result;
        }
    }
    scatterStars(p, 700, 0.8f, 5);
    return p;
}

Picture makeStars() {
    Picture p(512, 512);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float dust = std::clamp(
                tilingNoise(float(x) / 512.0f, float(y) / 512.0f, 3, 3, 5, 71), 0.0f, 1.0f);
            p.at(x, y) = Colour{0.08f, 0.1f, 0.2f} * (dust * dust);
        }
    }
    scatterStars(p, 900, 1.0f, 9);
    return p;
}

// Signed distances (pixels, positive inside the letters) of text laid out on a canvas.
class LetterField {
public:
    LetterField(int width, int height)
        : width_(width), height_(height), distance_(std::size_t(width) * height, -kFalloff) {}

    // Draws one line centred on centreX, baseline at baselineY, with letters pixelHeight tall.
    void line(const stbtt_fontinfo& font, const std::string& text, float pixelHeight, float centreX,
              float baselineY) {
        const float scale = stbtt_ScaleForPixelHeight(&font, pixelHeight);
        float x = centreX - measure(font, text, scale) * 0.5f;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const int code = static_cast<unsigned char>(text[i]);
            stamp(font, code, scale, x, baselineY);
            int advance = 0;
            int bearing = 0;
            stbtt_GetCodepointHMetrics(&font, code, &advance, &bearing);
            x += float(advance) * scale;
            if (i + 1 < text.size()) {
                x += float(stbtt_GetCodepointKernAdvance(&font, code, text[i + 1])) * scale;
            }
        }
    }

    // Brightness of the soft letters: kEdge on the outline, 1 a few pixels inside, falling to 0
    // at kFalloff pixels outside.
    float brightness(int x, int y) const {
        const float d = distance_[std::size_t(y) * width_ + x];
        if (d >= 0.0f) {
            return kEdge + (1.0f - kEdge) * std::min(d / 3.0f, 1.0f);
        }
        const float t = 1.0f - std::min(-d / kFalloff, 1.0f);
        return kEdge * t * t;
    }

private:
    static float measure(const stbtt_fontinfo& font, const std::string& text, float scale) {
        float width = 0.0f;
        for (unsigned char c : text) {
            int advance = 0;
            int bearing = 0;
            stbtt_GetCodepointHMetrics(&font, c, &advance, &bearing);
            width += float(advance) * scale;
        }
        return width;
    }

    void stamp(const stbtt_fontinfo& font, int code, float scale, float penX, float baselineY) {
        constexpr unsigned char kOnEdge = 128;
        const float perPixel = float(kOnEdge) / kFalloff;
        int w = 0;
        int h = 0;
        int xoff = 0;
        int yoff = 0;
        unsigned char* sdf = stbtt_GetCodepointSDF(&font, scale, code, int(kFalloff), kOnEdge,
                                                   perPixel, &w, &h, &xoff, &yoff);
        if (sdf == nullptr) {
            return;  // a space
        }
        const int left = int(std::lround(penX)) + xoff;
        const int top = int(std::lround(baselineY)) + yoff;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int cx = left + x;
                const int cy = top + y;
                if (cx < 0 || cy < 0 || cx >= width_ || cy >= height_) {
                    continue;
                }
                const float d = (float(sdf[y * w + x]) - kOnEdge) / perPixel;
                float& cell = distance_[std::size_t(cy) * width_ + cx];
                cell = std::max(cell, d);
            }
        }
        stbtt_FreeSDF(sdf, nullptr);
    }

    int width_;
    int height_;
    std::vector<float> distance_;
};

struct TextLine {
    std::string text;
    float pixelHeight;
    Colour colour;
};

// A 16:9 screen of centred lines, white-ish on black, stored as colour times brightness.
Picture makeTextScreen(const stbtt_fontinfo& font, const std::vector<TextLine>& lines) {
    Picture p(1024, 576);
    LetterField field(p.width, p.height);
    float total = 0.0f;
    for (const auto& line : lines) {
        total += line.pixelHeight * 1.35f;
    }
    float y = (float(p.height) - total) * 0.5f;
    std::vector<float> lineTops;
    for (const auto& line : lines) {
        lineTops.push_back(y);
        field.line(font, line.text, line.pixelHeight, float(p.width) * 0.5f, y + line.pixelHeight);
        y += line.pixelHeight * 1.35f;
    }
    for (int py = 0; py < p.height; ++py) {
        std::size_t which = 0;
        while (which + 1 < lines.size() && float(py) >= lineTops[which + 1] - 4.0f) {
            ++which;
        }
        for (int px = 0; px < p.width; ++px) {
            p.at(px, py) = lines[which].colour * field.brightness(px, py);
        }
    }
    return p;
}

Picture makeLogo(const stbtt_fontinfo& font) {
    Picture p(1024, 576);
    LetterField field(p.width, p.height);
    field.line(font, "VORNASTO", 170.0f, 512.0f, 300.0f);
    field.line(font, "2010", 120.0f, 512.0f, 440.0f);
    const Colour gold{1.0f, 0.85f, 0.35f};
    const Colour orange{1.0f, 0.5f, 0.15f};
    const Colour magenta{0.95f, 0.25f, 0.7f};
    for (int y = 0; y < p.height; ++y) {
        const float t = std::clamp((float(y) - 150.0f) / 300.0f, 0.0f, 1.0f);  // over the letters
        const Colour c =
            t < 0.5f ? mix(gold, orange, t * 2.0f) : mix(orange, magenta, t * 2.0f - 1.0f);
        for (int x = 0; x < p.width; ++x) {
            p.at(x, y) = c;
            p.alpha[std::size_t(y) * p.width + x] = field.brightness(x, y);
        }
    }
    return p;
}

// A ring around a "V" on black.
Picture makeLoadingEmblem(const stbtt_fontinfo& font) {
    Picture p(256, 256);
    LetterField field(p.width, p.height);
    field.line(font, "V", 120.0f, 128.0f, 172.0f);
    const Colour cyan{0.35f, 0.8f, 1.0f};
    const Colour white{1.0f, 1.0f, 1.0f};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float dx = float(x) - 127.5f;
            const float dy = float(y) - 127.5f;
            const float r = std::sqrt(dx * dx + dy * dy);
            const float angle = std::atan2(dy, dx);
            const float ring = std::exp(-std::pow((r - 104.0f) / 5.0f, 2.0f)) *
                               (0.6f + 0.4f * std::cos(angle * 3.0f));
            const float halo = std::exp(-std::pow((r - 104.0f) / 18.0f, 2.0f)) * 0.25f;
            p.at(x, y) = cyan * (ring + halo) + white * field.brightness(x, y);
        }
    }
    return p;
}

bool loadFont(const std::string& path, std::vector<unsigned char>& data, stbtt_fontinfo& font) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FONT.ttf OUT_DIR\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> fontData;
    stbtt_fontinfo font{};
    if (!loadFont(argv[1], fontData, font)) {
        std::fprintf(stderr, "cannot read font %s\n", argv[1]);
        return 1;
    }
    const std::string out = argv[2];
    const Colour white{1.0f, 1.0f, 1.0f};
    const Colour ice{0.75f, 0.9f, 1.0f};
    const Colour gold{1.0f, 0.82f, 0.45f};
    bool ok = writeJpg(makeNebula(), out + "/nieluspace.jpg");
    ok = writeJpg(makeStars(), out + "/stars.jpg") && ok;
    ok = writePng(makeLogo(font), out + "/vor2010.png") && ok;
    ok = writeJpg(
             makeTextScreen(font, {{"FOLLOW THE TUBE", 84, ice}, {"INTO THE NEBULA", 84, white}}),
             out + "/text2.jpg") &&
         ok;
    ok = writeJpg(makeTextScreen(
                      font,
                      {{"ONE TRACK", 96, white}, {"TWO MINUTES", 72, ice}, {"NO BRAKES", 72, ice}}),
                  out + "/text3.jpg") &&
         ok;
    ok = writeJpg(
             makeTextScreen(font, {{"GREETINGS TO", 72, ice}, {"EVERY NIGHT CODER", 84, white}}),
             out + "/text4.jpg") &&
         ok;
    ok = writeJpg(makeTextScreen(font, {{"KEEP IT", 84, ice}, {"REAL-TIME", 110, white}}),
                  out + "/text5.jpg") &&
         ok;
    ok = writeJpg(makeTextScreen(font, {{"VORNASTO 2010", 80, gold},
                                        {"BY TIRK", 56, white},
                                        {"CODE  TIRK", 44, ice},
                                        {"MUSIC  TIRK", 44, ice},
                                        {"GRAPHICS  TIRK", 44, ice}}),
                  out + "/credz.jpg") &&
         ok;
    ok = writeJpg(makeLoadingEmblem(font), out + "/loading.jpg") && ok;
    if (!ok) {
        std::fprintf(stderr, "writing into %s failed\n", out.c_str());
        return 1;
    }
    return 0;
}
