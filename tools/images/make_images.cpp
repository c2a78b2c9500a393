// make_images: turns a picture kept as text into a 16-colour Windows icon (.ico)
// or device-independent bitmap (.bmp), so the program's pictures can be reviewed
// and changed in a text editor and diffed like code.
//
// Regenerating the committed pictures after editing their text (from the
// repository root, after building the native preset):
//
//     build/native/tools/images/make_images app/res/art/trevik-icon.txt app/res/trevik.ico
//     build/native/tools/images/make_images app/res/art/about-glyph.txt app/res/about-glyph.bmp
//
// ctest (test "images_up_to_date") fails while a committed picture differs
// from what its text produces.
//
// The text format, line by line:
//
//     # a comment; blank lines are ignored (outside the pixel rows)
//     size <width> <height>          1 to 256 each
//     key <char> <colour>            <colour>: a name of the standard 16-colour VGA
//                                    palette (black maroon green olive navy purple teal
//                                    silver gray red lime yellow blue fuchsia aqua white)
//                                    or "transparent" (icons only: masked out)
//     pixels                         followed by exactly <height> rows of exactly
//                                    <width> key characters, top row first
//
// An icon may hold several pictures (say 32 x 32 and 16 x 16, so Windows need
// not shrink the large one for the title bar): each is its own "size" and
// "pixels" block. Keys hold from where they are given to the end of the text.
//
// The output format follows the output file's extension. Both are 4 bits per
// pixel with the whole palette: an icon holds each picture with its AND mask; a
// bitmap is one BITMAPINFOHEADER DIB, bottom-up, as the resource compiler embeds.
// Any fault in the text is reported with its line number, and nothing is written.

#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

struct PaletteEntry {
    std::string_view name;
    Rgb rgb;
};

// The standard VGA palette in the order of the Windows 16-colour palette.
constexpr std::array<PaletteEntry, 16> kPalette{{
    {"black", {0x00, 0x00, 0x00}},
    {"maroon", {0x80, 0x00, 0x00}},
    {"green", {0x00, 0x80, 0x00}},
    {"olive", {0x80, 0x80, 0x00}},
    {"navy", {0x00, 0x00, 0x80}},
    {"purple", {0x80, 0x00, 0x80}},
    {"teal", {0x00, 0x80, 0x80}},
    {"silver", {0xC0, 0xC0, 0xC0}},
    {"gray", {0x80, 0x80, 0x80}},
    {"red", {0xFF, 0x00, 0x00}},
    {"lime", {0x00, 0xFF, 0x00}},
    {"yellow", {0xFF, 0xFF, 0x00}},
    {"blue", {0x00, 0x00, 0xFF}},
    {"fuchsia", {0xFF, 0x00, 0xFF}},
    {"aqua", {0x00, 0xFF, 0xFF}},
    {"white", {0xFF, 0xFF, 0xFF}},
}};

constexpr int kMaxSide = 256;

// One pixel: a palette index, or masked out (icons only).
struct Pixel {
    std::uint8_t index = 0;
    bool transparent = false;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels; // top row first
    bool has_transparency = false;

    const Pixel& at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

class TextError : public std::runtime_error {
public:
    TextError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

std::optional<Pixel> ColourByName(std::string_view name) {
    if (name == "transparent") {
        return Pixel{0, true};
    }
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        if (kPalette[i].name == name) {
            return Pixel{static_cast<std::uint8_t>(i), false};
        }
    }
    return std::nullopt;
}

bool IsBlankOrComment(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

std::string WithoutCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

// The whitespace-separated words of a header line.
std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

int ParseSide(const std::string& word, int line) {
    if (word.empty() || word.size() > 3 || word.find_first_not_of("0123456789") != word.npos) {
        throw TextError(line, "size must be a whole number from 1 to 256: " + word);
    }
    const int side = std::stoi(word);
    if (side < 1 || side > kMaxSide) {
        throw TextError(line, "size must be a whole number from 1 to 256: " + word);
    }
    return side;
}

using Keys = std::array<std::optional<Pixel>, 256>;

// Exactly height rows of exactly width known keys.
void ReadRows(std::istream& in, const Keys& keys, Picture& picture, int& line_number) {
    std::string line;
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) *
                           static_cast<std::size_t>(picture.height));
    for (int row = 0; row < picture.height; ++row) {
        if (!std::getline(in, line)) {
            throw TextError(line_number, "picture ends after " + std::to_string(row) + " of " +
                                             std::to_string(picture.height) + " rows");
        }
        ++line_number;
        line = WithoutCarriageReturn(line);
        if (line.size() != static_cast<std::size_t>(picture.width)) {
            throw TextError(line_number, "row has " + std::to_string(line.size()) +
                                             " characters, expected " +
                                             std::to_string(picture.width));
        }
        for (const char ch : line) {
            const auto& key = keys[static_cast<unsigned char>(ch)];
            if (!key) {
                throw TextError(line_number, std::string("character without a key: '") + ch + "'");
            }
            picture.pixels.push_back(*key);
            picture.has_transparency = picture.has_transparency || key->transparent;
        }
    }
}

// One or more pictures, each "size" ... "pixels" and its rows. Keys hold from
// where they are given to the end of the text.
std::vector<Picture> Parse(std::istream& in) {
    Keys keys{};
    std::vector<Picture> pictures;
    std::optional<Picture> next; // sized, waiting for its "pixels"
    int line_number = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++line_number;
        line = WithoutCarriageReturn(line);
        if (IsBlankOrComment(line)) {
            continue;
        }
        const auto words = Words(line);
        if (words[0] == "size" && words.size() == 3) {
            if (next) {
                throw TextError(line_number, "size given twice");
            }
            next = Picture{};
            next->width = ParseSide(words[1], line_number);
            next->height = ParseSide(words[2], line_number);
        } else if (words[0] == "key" && words.size() == 3 && words[1].size() == 1) {
            const auto ch = static_cast<unsigned char>(words[1][0]);
            if (keys[ch]) {
                throw TextError(line_number, "key '" + words[1] + "' given twice");
            }
            keys[ch] = ColourByName(words[2]);
            if (!keys[ch]) {
                throw TextError(line_number, "unknown colour: " + words[2]);
            }
        } else if (words[0] == "pixels" && words.size() == 1) {
            if (!next) {
                throw TextError(line_number, "no 'size' line before 'pixels'");
            }
            ReadRows(in, keys, *next, line_number);
            pictures.push_back(std::move(*next));
            next.reset();
        } else {
            throw TextError(line_number, "expected 'size W H', 'key C colour' or 'pixels'");
        }
    }
    if (next || pictures.empty()) {
        throw TextError(line_number, "no 'pixels' line");
    }
    return pictures;
}

// Little-endian output, as every Windows image header is.
class Bytes {
public:
    void U8(std::uint32_t v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void U16(std::uint32_t v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    std::size_t size() const { return data_.size(); }
    const std::string& data() const { return data_; }

private:
    std::string data_;
};

// Rows of a DIB are padded to whole 32-bit words.
std::uint32_t RowBytes(int width, int bits_per_pixel) {
    return static_cast<std::uint32_t>((width * bits_per_pixel + 31) / 32 * 4);
}

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteSize = 16 * 4;

void InfoHeader(Bytes& out, int width, int dib_height, std::uint32_t image_size) {
    out.U32(kInfoHeaderSize);
    out.U32(static_cast<std::uint32_t>(width));
    out.U32(static_cast<std::uint32_t>(dib_height)); // positive: bottom-up
    out.U16(1);                                      // planes
    out.U16(4);                                      // bits per pixel
    out.U32(0);                                      // BI_RGB
    out.U32(image_size);
    out.U32(0); // pixels per metre, x and y: unspecified
    out.U32(0);
    out.U32(16); // colours used: the whole palette
    out.U32(0);  // all colours important
}

void Palette(Bytes& out) {
    for (const auto& entry : kPalette) { // RGBQUAD: blue, green, red, reserved
        out.U8(entry.rgb.b);
        out.U8(entry.rgb.g);
        out.U8(entry.rgb.r);
        out.U8(0);
    }
}

// The colour plane: two pixels a byte, high nibble first, bottom row first.
// A masked-out pixel is black, so the icon's XOR step leaves the screen alone.
void ColourPlane(Bytes& out, const Picture& picture) {
    const std::uint32_t row_bytes = RowBytes(picture.width, 4);
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x = 0; x < picture.width; x += 2) {
            const auto nibble = [&](int px) -> std::uint32_t {
                if (px >= picture.width || picture.at(px, y).transparent) {
                    return 0;
                }
                return picture.at(px, y).index;
            };
            out.U8(nibble(x) << 4 | nibble(x + 1));
        }
        while (out.size() - row_start < row_bytes) {
            out.U8(0);
        }
    }
}

// The icon's AND mask: one bit a pixel, set where the screen shows through.
void MaskPlane(Bytes& out, const Picture& picture) {
    const std::uint32_t row_bytes = RowBytes(picture.width, 1);
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x0 = 0; x0 < picture.width; x0 += 8) {
            std::uint32_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = x0 + bit;
                if (x < picture.width && picture.at(x, y).transparent) {
                    bits |= 0x80u >> bit;
                }
            }
            out.U8(bits);
        }
        while (out.size() - row_start < row_bytes) {
            out.U8(0);
        }
    }
}

std::uint32_t IconImageSize(const Picture& picture) {
    const auto height = static_cast<std::uint32_t>(picture.height);
    return kInfoHeaderSize + kPaletteSize + RowBytes(picture.width, 4) * height +
           RowBytes(picture.width, 1) * height;
}

// An icon file: the directory of all images, then each image in turn.
std::string Icon(const std::vector<Picture>& pictures) {
    constexpr std::uint32_t kDirectoryHeaderSize = 6;
    constexpr std::uint32_t kDirectoryEntrySize = 16;
    Bytes out;
    out.U16(0); // ICONDIR: reserved, type 1 (icon), image count
    out.U16(1);
    out.U16(static_cast<std::uint32_t>(pictures.size()));
    auto offset =
        static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * pictures.size());
    for (const auto& picture : pictures) { // ICONDIRENTRY; a side of 0 means 256
        out.U8(picture.width == kMaxSide ? 0 : static_cast<std::uint32_t>(picture.width));
        out.U8(picture.height == kMaxSide ? 0 : static_cast<std::uint32_t>(picture.height));
        out.U8(16); // colours
        out.U8(0);  // reserved
        out.U16(1); // planes
        out.U16(4); // bits per pixel
        out.U32(IconImageSize(picture));
        out.U32(offset);
        offset += IconImageSize(picture);
    }
    for (const auto& picture : pictures) {
        const auto height = static_cast<std::uint32_t>(picture.height);
        // The image's height counts the colour plane and the mask together.
        InfoHeader(out, picture.width, picture.height * 2,
                   (RowBytes(picture.width, 4) + RowBytes(picture.width, 1)) * height);
        Palette(out);
        ColourPlane(out, picture);
        MaskPlane(out, picture);
    }
    return out.data();
}

std::string Bitmap(const std::vector<Picture>& pictures) {
    if (pictures.size() != 1) {
        throw std::runtime_error("a bitmap holds one picture, the text has " +
                                 std::to_string(pictures.size()));
    }
    const Picture& picture = pictures.front();
    if (picture.has_transparency) {
        throw std::runtime_error("a bitmap has no mask: 'transparent' is for icons only");
    }
    const std::uint32_t colour_size =
        RowBytes(picture.width, 4) * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t kFileHeaderSize = 14;
    const std::uint32_t bits_offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;

    Bytes out;
    out.U8('B'); // BITMAPFILEHEADER
    out.U8('M');
    out.U32(bits_offset + colour_size);
    out.U16(0);
    out.U16(0);
    out.U32(bits_offset);
    InfoHeader(out, picture.width, picture.height, colour_size);
    Palette(out);
    ColourPlane(out, picture);
    return out.data();
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_images <picture.txt> <output.ico|output.bmp>\n";
        return 2;
    }
    const std::string input_path = argv[1];
    const std::string output_path = argv[2];
    try {
        const bool icon = EndsWith(output_path, ".ico");
        if (!icon && !EndsWith(output_path, ".bmp")) {
            throw std::runtime_error("output must end in .ico or .bmp: " + output_path);
        }
        std::ifstream in(input_path, std::ios::binary);
        if (!in) {
            throw std::runtime_error("cannot open " + input_path);
        }
        const auto pictures = Parse(in);
        const std::string image = icon ? Icon(pictures) : Bitmap(pictures);

        std::ofstream out(output_path, std::ios::binary | std::ios::trunc);
        out.write(image.data(), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + output_path);
        }
    } catch (const TextError& error) {
        std::cerr << input_path << ": " << error.what() << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "make_images: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
