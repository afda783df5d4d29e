// Writes the update window's banner, resources/Banner.jpg: a blue banner of 348 x 130 with the exam
// platform's title line in white, a smaller line under it and a round check-mark logo at the lower right.
// The text is drawn with FreeType from the WenQuanYi Zen Hei face; the picture is encoded with libjpeg as
// a baseline JPEG with three components sampled 1 x 1, a restart interval of 44 MCUs and a JFIF 1.02
// header at 72 x 72 dots per inch. The output is the same on every run. Built and run by make_artwork.sh.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Width = 348;
constexpr int Height = 130;
constexpr const char* FontPath = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

struct Color {
    double red, green, blue;
};

struct Canvas {
    std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(Width * Height * 3);

    // Mixes `color` into the pixel by `cover` (0..1); pixels outside are ignored.
    void Blend(int x, int y, Color color, double cover)
    {
        if (x < 0 || y < 0 || x >= Width || y >= Height || cover <= 0)
            return;
        cover = std::fmin(cover, 1.0);
        std::uint8_t* pixel = &rgb[(y * Width + x) * 3];
        const double channels[3] = {color.red, color.green, color.blue};
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<std::uint8_t>(std::lround(pixel[c] * (1 - cover) + channels[c] * cover));
    }
};

const Color White{255, 255, 255};
const Color PaleBlue{200, 222, 250};

// A vertical gradient from deep to lighter blue, with a soft light band rising to the right.
void PaintBackground(Canvas& canvas)
{
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const double t = double(y) / (Height - 1);
            canvas.Blend(x, y, {22 + 22 * t, 68 + 42 * t, 150 + 60 * t}, 1);
            const double band = std::fabs(y - (110 - x * 0.25)) / 28;
            canvas.Blend(x, y, White, 0.10 * std::fmax(0, 1 - band * band));
        }
}

class Typeface {
public:
    explicit Typeface(int pixelSize)
    {
        if (FT_Init_FreeType(&library_) || FT_New_Face(library_, FontPath, 0, &face_))
            throw std::runtime_error(std::string("cannot load ") + FontPath);
        FT_Set_Pixel_Sizes(face_, 0, pixelSize);
    }
    ~Typeface()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    int Advance(const std::u32string& text)
    {
        long width = 0;
        for (char32_t c : text)
            width += Load(c)->advance.x;
        return static_cast<int>(width >> 6);
    }

    // Draws the text with its left end at x on the baseline y.
    void Draw(Canvas& canvas, const std::u32string& text, int x, int y, Color color)
    {
        long pen = long(x) << 6;
        for (char32_t c : text) {
            const FT_GlyphSlot glyph = Load(c);
            const FT_Bitmap& bitmap = glyph->bitmap;
            for (unsigned row = 0; row < bitmap.rows; ++row)
                for (unsigned column = 0; column < bitmap.width; ++column)
                    canvas.Blend(int(pen >> 6) + glyph->bitmap_left + int(column), y - glyph->bitmap_top + int(row),
                                 color, bitmap.buffer[row * bitmap.pitch + column] / 255.0);
            pen += glyph->advance.x;
        }
    }

private:
    FT_GlyphSlot Load(char32_t c)
    {
        if (FT_Load_Char(face_, c, FT_LOAD_RENDER))
            throw std::runtime_error("cannot render a character");
        return face_->glyph;
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

void DrawCentred(Canvas& canvas, const std::u32string& text, int pixelSize, int baseline, Color color)
{
    Typeface face(pixelSize);
    face.Draw(canvas, text, (Width - face.Advance(text)) / 2, baseline, color);
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double t = std::fmax(0, std::fmin(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)));
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// A white ring with a check mark, centred at (cx, cy); edges are smoothed over one pixel.
void DrawLogo(Canvas& canvas, double cx, double cy, double radius)
{
    for (int y = int(cy - radius) - 2; y <= int(cy + radius) + 2; ++y)
        for (int x = int(cx - radius) - 2; x <= int(cx + radius) + 2; ++x) {
            const double px = x + 0.5 - cx, py = y + 0.5 - cy;
            const double ring = std::fabs(std::hypot(px, py) - radius + 1.5);
            const double tick = std::fmin(SegmentDistance(px, py, -8, 0, -2, 6), SegmentDistance(px, py, -2, 6, 9, -6));
            canvas.Blend(x, y, White, 0.5 + 1.5 - ring);
            canvas.Blend(x, y, White, 0.5 + 1.8 - tick);
        }
}

void WriteJpeg(const Canvas& canvas, const char* path)
{
    FILE* file = std::fopen(path, "wb");
    if (!file)
        throw std::runtime_error(std::string("cannot create ") + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = Width;
    info.image_height = Height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    for (int c = 0; c < 3; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.restart_interval = 44;
    info.JFIF_minor_version = 2;
    info.density_unit = 1;
    info.X_density = info.Y_density = 72;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&canvas.rgb[info.next_scanline * Width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    Canvas canvas;
    PaintBackground(canvas);
    DrawCentred(canvas, U"Marovin--\u5728\u7EBF\u8003\u8BD5\u5E73\u53F0", 26, 58, White); // Marovin--在线考试平台
    for (int x = 54; x < Width - 54; ++x)
        canvas.Blend(x, 70, White, 0.45);
    DrawCentred(canvas, U"\u6B63\u5728\u5347\u7EA7\u5BA2\u6237\u7AEF", 14, 92, PaleBlue); // 正在升级客户端
    DrawLogo(canvas, 318, 101, 18);
    WriteJpeg(canvas, argv[1]);
    return 0;
}
