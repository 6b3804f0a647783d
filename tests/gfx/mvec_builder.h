// Builds small ".mvec" images in memory for the font and text tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

struct TTestGlyph {
  uint32_t code;
  int16_t xmin, xmax, ymin, ymax, advance;
  std::vector<uint8_t> program;
};

class TMvecBuilder {
 public:
  // Outline program helpers (coordinates in 1/128 units).
  static void Move(std::vector<uint8_t>& p, int x, int y) { Op(p, 4, {x, y}); }
  static void Line(std::vector<uint8_t>& p, int x, int y) { Op(p, 5, {x, y}); }
  static void Quad(std::vector<uint8_t>& p, int cx, int cy, int x, int y) {
    Op(p, 6, {cx, cy, x, y});
  }
  static void Fill(std::vector<uint8_t>& p) {
    p.push_back(2);
    p.push_back(1);
  }
  static void End(std::vector<uint8_t>& p) { p.push_back(8); }

  // A closed rectangle contour, wound clockwise on screen (or the other way round).
  static void Rect(std::vector<uint8_t>& p, int x0, int y0, int x1, int y1, bool reverse = false) {
    Move(p, x0, y0);
    if (!reverse) {
      Line(p, x1, y0);
      Line(p, x1, y1);
      Line(p, x0, y1);
    } else {
      Line(p, x0, y1);
      Line(p, x1, y1);
      Line(p, x1, y0);
    }
    Line(p, x0, y0);
  }

  // A glyph that is one rectangle (units of 1/128), advance = its right edge + 128.
  void AddBox(uint32_t code, int x0, int y0, int x1, int y1) {
    std::vector<uint8_t> program;
    Move(program, x0, y0);
    Fill(program);
    Line(program, x1, y0);
    Line(program, x1, y1);
    Line(program, x0, y1);
    Line(program, x0, y0);
    End(program);
    glyphs.push_back({code, static_cast<int16_t>(x0), static_cast<int16_t>(x1),
                      static_cast<int16_t>(y0), static_cast<int16_t>(y1),
                      static_cast<int16_t>(x1 + 128), program});
  }

  std::vector<uint8_t> Build(bool sort = true) const {
    std::vector<TTestGlyph> list = glyphs;
    if (sort) {
      std::sort(list.begin(), list.end(),
                [](const auto& a, const auto& b) { return a.code < b.code; });
    }
    std::vector<uint8_t> out = {'M', 'V', 'C', '4'};
    Put16(out, static_cast<int>(list.size()));
    Put16(out, 100);
    Put16(out, 0);
    Put16(out, 0);
    size_t offset = 12 + 18 * list.size();
    for (const TTestGlyph& g : list) {
      Put32(out, g.code);
      Put16(out, g.xmin);
      Put16(out, g.xmax);
      Put16(out, g.ymin);
      Put16(out, g.ymax);
      Put16(out, g.advance);
      Put32(out, static_cast<uint32_t>(offset));
      offset += g.program.size();
    }
    for (const TTestGlyph& g : list) out.insert(out.end(), g.program.begin(), g.program.end());
    return out;
  }

  std::vector<TTestGlyph> glyphs;

 private:
  static void Op(std::vector<uint8_t>& p, uint8_t op, std::initializer_list<int> values) {
    p.push_back(op);
    for (int v : values) Put16(p, v);
  }
  static void Put16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
  }
};
