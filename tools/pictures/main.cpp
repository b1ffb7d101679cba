// Draws the button pictures (24-bit BMP), the window icons (ICO with 32x32 and 16x16 images)
// and the program icon (PNG) of the program folder; with --hicolor also the program icon in the
// sizes of the desktop's icon theme (<folder>/<N>x<N>/apps/<name>.png).
//   tervano-pictures <Ikony folder> [--hicolor <folder> <name>] [<extra copy of the icon>...]
// The pictures are simple vector drawings sampled 4x4 per pixel, so every size is smooth.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Color {
  double r, g, b, a = 1.0;
};

constexpr Color kWhite{1, 1, 1};
constexpr Color kInk{0.09, 0.11, 0.16};
constexpr Color kYellow{1.0, 0.84, 0.13};
constexpr Color kGrid{0.16, 0.2, 0.3};

// A shape is a test in unit coordinates: (0,0) top left, (1,1) bottom right.
using Shape = std::function<bool(double, double)>;

class Canvas {
 public:
  explicit Canvas(int size) : size_(size), px_(static_cast<std::size_t>(size * size)) {}

  int size() const { return size_; }

  void fill(const Shape& shape, Color c) {
    constexpr int kSub = 4;
    for (int y = 0; y < size_; ++y)
      for (int x = 0; x < size_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < kSub; ++sy)
          for (int sx = 0; sx < kSub; ++sx)
            if (shape((x + (sx + 0.5) / kSub) / size_, (y + (sy + 0.5) / kSub) / size_)) ++hits;
        if (hits == 0) continue;
        blend(px_[static_cast<std::size_t>(y * size_ + x)], c, c.a * hits / (kSub * kSub));
      }
  }

  const Color& at(int x, int y) const { return px_[static_cast<std::size_t>(y * size_ + x)]; }

 private:
  static void blend(Color& d, const Color& s, double a) {
    const double outA = a + d.a * (1 - a);
    if (outA <= 0) return;
    d.r = (s.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (s.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (s.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
  }

  int size_;
  std::vector<Color> px_ = {};
};

// Shapes.
Shape rect(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
Shape roundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const double cx = std::clamp(x, x0 + r, x1 - r);
    const double cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
Shape circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape ring(double cx, double cy, double r0, double r1) {
  return [=](double x, double y) {
    const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d >= r0 * r0 && d <= r1 * r1;
  };
}
Shape polygon(std::vector<std::array<double, 2>> pts) {
  return [pts = std::move(pts)](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto& a = pts[i];
      const auto& b = pts[j];
      if ((a[1] > y) != (b[1] > y) && x < (b[0] - a[0]) * (y - a[1]) / (b[1] - a[1]) + a[0])
        inside = !inside;
    }
    return inside;
  };
}
Shape minus(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) && !b(x, y); };
}
Shape both(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) && b(x, y); };
}

// A crossword grid: rows of cells shifted so that one column lines up, that column in yellow.
void crossword(Canvas& c, double x0, double y0, double cell,
               const std::vector<std::array<int, 2>>& rows, int column, bool frame) {
  const double gap = std::max(cell * 0.12, 0.6 / c.size());
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (int k = rows[r][0]; k < rows[r][0] + rows[r][1]; ++k) {
      const double x = x0 + k * cell, y = y0 + static_cast<double>(r) * cell;
      if (frame) c.fill(rect(x, y, x + cell, y + cell), kGrid);
      c.fill(rect(x + gap, y + gap, x + cell - gap, y + cell - gap),
             k == column ? kYellow : kWhite);
    }
}

// A pencil from the tip (tx, ty) towards (ex, ey).
void pencil(Canvas& c, double tx, double ty, double ex, double ey, double w) {
  const double len = std::hypot(ex - tx, ey - ty);
  const double ux = (ex - tx) / len, uy = (ey - ty) / len;  // along the pencil
  const double nx = -uy, ny = ux;                           // across it
  auto at = [&](double along, double across) {
    return std::array<double, 2>{tx + ux * along + nx * across, ty + uy * along + ny * across};
  };
  const double cone = w * 2.2;
  c.fill(polygon({at(0, 0), at(cone, w), at(cone, -w)}), Color{0.93, 0.78, 0.56});
  c.fill(polygon({at(0, 0), at(cone * 0.38, w * 0.38), at(cone * 0.38, -w * 0.38)}), kInk);
  c.fill(polygon({at(cone, w), at(len - w * 2.4, w), at(len - w * 2.4, -w), at(cone, -w)}),
         Color{0.98, 0.73, 0.1});
  c.fill(polygon({at(cone, w * 0.25), at(len - w * 2.4, w * 0.25), at(len - w * 2.4, -w * 0.25),
                  at(cone, -w * 0.25)}),
         Color{0.9, 0.6, 0.05});
  c.fill(polygon({at(len - w * 2.4, w), at(len - w * 1.5, w), at(len - w * 1.5, -w),
                  at(len - w * 2.4, -w)}),
         Color{0.75, 0.77, 0.8});
  c.fill(polygon({at(len - w * 1.5, w), at(len, w), at(len, -w), at(len - w * 1.5, -w)}),
         Color{0.95, 0.45, 0.55});
}

Shape gear(double cx, double cy, double outer, double inner, int teeth) {
  std::vector<std::array<double, 2>> pts;
  const int steps = teeth * 4;
  for (int i = 0; i < steps; ++i) {
    const double a = 2 * kPi * (i + 0.5) / steps;
    const double r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
    pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return polygon(pts);
}

// The pictures, each drawn into a square canvas of any size.
void drawEditor(Canvas& c) {
  c.fill(roundRect(0.04, 0.06, 0.8, 0.94, 0.06), Color{0.93, 0.95, 0.98});
  crossword(c, 0.1, 0.14, 0.17, {{1, 3}, {0, 3}, {1, 2}, {0, 3}}, 1, true);
  pencil(c, 0.42, 0.86, 0.95, 0.14, 0.085);
}

void drawSets(Canvas& c) {
  const Color colors[] = {{0.2, 0.55, 0.9}, {0.25, 0.72, 0.38}, {0.95, 0.55, 0.15}};
  for (int i = 0; i < 3; ++i) {
    const double o = 0.16 * i;
    c.fill(roundRect(0.06 + o, 0.36 - o + 0.04, 0.62 + o, 0.94 - o, 0.07), Color{0, 0, 0, 0.35});
    c.fill(roundRect(0.04 + o, 0.34 - o, 0.6 + o, 0.9 - o, 0.07), colors[i]);
    c.fill(rect(0.12 + o, 0.46 - o, 0.5 + o, 0.52 - o), Color{1, 1, 1, 0.85});
    c.fill(rect(0.12 + o, 0.6 - o, 0.42 + o, 0.66 - o), Color{1, 1, 1, 0.6});
  }
}

void drawGear(Canvas& c, Color body) {
  c.fill(minus(gear(0.5, 0.5, 0.46, 0.34, 8), circle(0.5, 0.5, 0.15)), body);
  c.fill(ring(0.5, 0.5, 0.15, 0.22), Color{1, 1, 1, 0.25});
}

void drawParameters(Canvas& c) {
  drawGear(c, Color{0.55, 0.65, 0.78});
}

void drawParameterError(Canvas& c) {
  drawGear(c, Color{0.55, 0.6, 0.66});
  c.fill(circle(0.7, 0.7, 0.28), Color{0.86, 0.12, 0.12});
  c.fill(roundRect(0.66, 0.52, 0.74, 0.76, 0.03), kWhite);
  c.fill(circle(0.7, 0.84, 0.045), kWhite);
}

void drawGame(Canvas& c) {
  c.fill(roundRect(0.02, 0.02, 0.98, 0.98, 0.12), Color{0.12, 0.2, 0.42});
  crossword(c, 0.09, 0.12, 0.155, {{1, 4}, {0, 3}, {2, 3}, {1, 4}, {0, 5}}, 2, false);
}

void drawRecovery(Canvas& c) {
  const Shape buoy = ring(0.5, 0.5, 0.2, 0.44);
  c.fill(buoy, kWhite);
  for (int q = 0; q < 4; ++q) {
    const double a0 = q * kPi / 2 + kPi / 8;
    c.fill(both(buoy,
                [=](double x, double y) {
                  double a = std::atan2(y - 0.5, x - 0.5) - a0;
                  while (a < 0)
                    a += 2 * kPi;
                  return a < kPi / 4;
                }),
           Color{0.88, 0.15, 0.15});
  }
  c.fill(ring(0.5, 0.5, 0.31, 0.335), Color{0.95, 0.85, 0.5});
}

void drawProgramIcon(Canvas& c) {
  c.fill(roundRect(0.02, 0.02, 0.98, 0.98, 0.18), Color{0.08, 0.13, 0.3});
  c.fill(roundRect(0.02, 0.02, 0.98, 0.5, 0.18), Color{1, 1, 1, 0.05});
  crossword(c, 0.095, 0.1, 0.135, {{2, 4}, {0, 5}, {3, 3}, {1, 4}, {0, 6}, {2, 3}}, 3, false);
}

// Files.
void putU16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void putU32(std::string& s, std::uint32_t v) {
  putU16(s, v & 0xFFFF);
  putU16(s, v >> 16);
}
void putBE32(std::string& s, std::uint32_t v) {
  for (int i = 3; i >= 0; --i)
    s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
unsigned char channel(double v) {
  return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

// 24-bit BMP on the black of the program's windows.
std::string bmp(const Canvas& c) {
  const int n = c.size();
  const int row = (n * 3 + 3) / 4 * 4;
  std::string s = "BM";
  putU32(s, static_cast<std::uint32_t>(54 + row * n));
  putU32(s, 0);
  putU32(s, 54);
  putU32(s, 40);
  putU32(s, static_cast<std::uint32_t>(n));
  putU32(s, static_cast<std::uint32_t>(n));
  putU16(s, 1);
  putU16(s, 24);
  putU32(s, 0);
  putU32(s, static_cast<std::uint32_t>(row * n));
  putU32(s, 2835);
  putU32(s, 2835);
  putU32(s, 0);
  putU32(s, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const Color& p = c.at(x, y);
      s.push_back(static_cast<char>(channel(p.b * p.a)));
      s.push_back(static_cast<char>(channel(p.g * p.a)));
      s.push_back(static_cast<char>(channel(p.r * p.a)));
    }
    s.append(static_cast<std::size_t>(row - n * 3), '\0');
  }
  return s;
}

// ICO with 32-bit images (alpha) and their AND masks.
std::string ico(const std::vector<Canvas>& images) {
  std::vector<std::string> bodies;
  for (const Canvas& c : images) {
    const int n = c.size();
    const int maskRow = (n + 31) / 32 * 4;
    std::string b;
    putU32(b, 40);
    putU32(b, static_cast<std::uint32_t>(n));
    putU32(b, static_cast<std::uint32_t>(2 * n));
    putU16(b, 1);
    putU16(b, 32);
    putU32(b, 0);
    putU32(b, static_cast<std::uint32_t>(n * n * 4 + maskRow * n));
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0);
    for (int y = n - 1; y >= 0; --y)
      for (int x = 0; x < n; ++x) {
        const Color& p = c.at(x, y);
        b.push_back(static_cast<char>(channel(p.b)));
        b.push_back(static_cast<char>(channel(p.g)));
        b.push_back(static_cast<char>(channel(p.r)));
        b.push_back(static_cast<char>(channel(p.a)));
      }
    for (int y = n - 1; y >= 0; --y) {
      std::string row(static_cast<std::size_t>(maskRow), '\0');
      for (int x = 0; x < n; ++x)
        if (channel(c.at(x, y).a) == 0)
          row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      b += row;
    }
    bodies.push_back(b);
  }
  std::string s;
  putU16(s, 0);
  putU16(s, 1);
  putU16(s, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int n = images[i].size();
    s.push_back(static_cast<char>(n >= 256 ? 0 : n));
    s.push_back(static_cast<char>(n >= 256 ? 0 : n));
    s.push_back(0);
    s.push_back(0);
    putU16(s, 1);
    putU16(s, 32);
    putU32(s, static_cast<std::uint32_t>(bodies[i].size()));
    putU32(s, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const auto& b : bodies)
    s += b;
  return s;
}

std::uint32_t crc32(const std::string& data, std::size_t from) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = from; i < data.size(); ++i)
    c = table[(c ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void pngChunk(std::string& out, const char* type, const std::string& data) {
  putBE32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out += type;
  out += data;
  putBE32(out, crc32(out, start));
}

// PNG, RGBA; the image data is stored in uncompressed deflate blocks (no zlib needed).
std::string png(const Canvas& c) {
  const int n = c.size();
  std::string raw;
  for (int y = 0; y < n; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < n; ++x) {
      const Color& p = c.at(x, y);
      for (double v : {p.r, p.g, p.b, p.a})
        raw.push_back(static_cast<char>(channel(v)));
    }
  }
  std::string z{'\x78', '\x01'};
  for (std::size_t pos = 0; pos < raw.size();) {
    const std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
    z.push_back(pos + len == raw.size() ? 1 : 0);
    putU16(z, static_cast<unsigned>(len));
    putU16(z, static_cast<unsigned>(~len & 0xFFFF));
    z.append(raw, pos, len);
    pos += len;
  }
  std::uint32_t a = 1, b = 0;
  for (char ch : raw) {
    a = (a + static_cast<unsigned char>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  putBE32(z, (b << 16) | a);
  std::string ihdr;
  putBE32(ihdr, static_cast<std::uint32_t>(n));
  putBE32(ihdr, static_cast<std::uint32_t>(n));
  ihdr += {'\x08', '\x06', '\0', '\0', '\0'};
  std::string out = "\x89PNG\r\n\x1a\n";
  pngChunk(out, "IHDR", ihdr);
  pngChunk(out, "IDAT", z);
  pngChunk(out, "IEND", "");
  return out;
}

Canvas draw(void (*picture)(Canvas&), int size, bool onBlack) {
  Canvas c(size);
  if (onBlack) c.fill(rect(0, 0, 1, 1), Color{0, 0, 0});
  picture(c);
  return c;
}

bool writeFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) std::cerr << "nelze zapsat " << p.string() << "\n";
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "použití: tervano-pictures <složka Ikony> [<kopie ikony programu>...]\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  struct Picture {
    const char* name;
    void (*draw)(Canvas&);
    bool button;
  };
  const Picture pictures[] = {
      {"editor", drawEditor, true},
      {"sady", drawSets, true},
      {"parametry", drawParameters, true},
      {"parametry2", drawParameterError, false},
      {"kr1", drawGame, true},
      {"havarie", drawRecovery, true},
  };
  bool ok = true;
  for (const Picture& p : pictures) {
    if (p.button)
      ok &= writeFile(out / (std::string(p.name) + ".bmp"), bmp(draw(p.draw, 32, true)));
    // kr1 is the picture of the main application's button only; it has no window of its own.
    if (std::string(p.name) != "kr1")
      ok &= writeFile(out / (std::string(p.name) + ".ico"),
                      ico({draw(p.draw, 32, false), draw(p.draw, 16, false)}));
  }
  const std::string icon = png(draw(drawProgramIcon, 128, false));
  ok &= writeFile(out / "tervano.png", icon);
  int next = 2;
  if (argc >= 5 && std::string(argv[2]) == "--hicolor") {
    // Each size drawn on its own grid, not scaled from another.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
      const std::string square = std::to_string(size) + "x" + std::to_string(size);
      const std::filesystem::path folder = std::filesystem::path(argv[3]) / square / "apps";
      std::filesystem::create_directories(folder);
      ok &= writeFile(folder / (std::string(argv[4]) + ".png"),
                      png(draw(drawProgramIcon, size, false)));
    }
    next = 5;
  }
  for (int i = next; i < argc; ++i) {
    std::filesystem::create_directories(std::filesystem::path(argv[i]).parent_path());
    ok &= writeFile(argv[i], icon);
  }
  if (const char* preview = std::getenv("TERVANO_PICTURE_PREVIEW")) {
    // Large previews of every picture, for looking at the drawings.
    for (const Picture& p : pictures)
      writeFile(std::filesystem::path(preview) / (std::string(p.name) + ".png"),
                png(draw(p.draw, 128, p.button)));
  }
  return ok ? 0 : 1;
}
