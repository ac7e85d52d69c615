#include "tools/preview/Sheet.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "data/ThemeTables.h"
#include "tools/preview/Notation.h"

namespace preview {

namespace {

constexpr int32_t kSheetWidth = 1960;
constexpr int32_t kMargin = 20;
constexpr uint32_t kPaperColor = 0xFFF4F4F2;
constexpr uint32_t kInkColor = 0xFF1A1A1A;
constexpr uint32_t kFaintInk = 0xFF6A6A6A;
constexpr uint32_t kRuleColor = 0xFFC8C8C4;

constexpr int32_t kTitleSize = 30;
constexpr int32_t kHeadingSize = 24;
constexpr int32_t kLabelSize = 15;
constexpr int32_t kMonoSize = 13;
constexpr int32_t kMonoLineHeight = 17;

// Ten outline colours, one per layout rectangle, that read on the artwork.
constexpr uint32_t kRectColors[THEME_RECT_COUNT] = {0xFFFFFFFF, 0xFFFF5A5A, 0xFF4DD2FF, 0xFFFFD23F, 0xFF7CFF6B,
                                                   0xFFFF8FE3, 0xFFFFA24D, 0xFFB58CFF, 0xFF3FFFD2, 0xFFE6E6E6};

constexpr int32_t kBrushSize = 26;
constexpr int32_t kStateCellWidth = 4 * (kBrushSize + 2) + 10;
constexpr int32_t kBoardLabelWidth = 250;
constexpr int32_t kBoardCallsX = kMargin + kBoardLabelWidth + 7 * kStateCellWidth + 16;

std::string SizeText(int32_t Width, int32_t Height) { return std::to_string(Width) + "x" + std::to_string(Height); }

// Draws on a sheet that grows downward as sections are added.
class SheetWriter {
 public:
  explicit SheetWriter(Fonts &Text) : Text_(Text) {}

  Sheet Finish() {
    Sheet Result;
    Result.Pixels = Pixmap(kSheetWidth, Cursor_ + kMargin, kPaperColor);
    for (const auto &Step : Steps_) {
      Step(Result.Pixels);
    }
    Result.Areas = std::move(Areas_);
    return Result;
  }

  // Drawing is deferred until the sheet's height is known.
  template <typename F>
  void Later(F &&Step) {
    Steps_.emplace_back(std::forward<F>(Step));
  }

  void Text(int32_t X, int32_t Y, std::string Line, Face Which, int32_t Size, uint32_t Color) {
    Later([=, this](Pixmap &Target) { Text_.Draw(Target, X, Y, Line, Which, Size, Color); });
  }
  int32_t Measure(const std::string &Line, Face Which, int32_t Size) { return Text_.Measure(Line, Which, Size); }

  // The note stands beside the title when it fits there, else below it.
  void Heading(const std::string &Title, const std::string &Note) {
    Cursor_ += 18;
    Text(kMargin, Cursor_, Title, Face::SansBold, kHeadingSize, kInkColor);
    const int32_t NoteX = kMargin + Measure(Title, Face::SansBold, kHeadingSize) + 16;
    int32_t Bottom = Cursor_ + kHeadingSize;
    if (NoteX + Measure(Note, Face::Sans, kLabelSize) <= kSheetWidth - kMargin) {
      Text(NoteX, Cursor_ + 7, Note, Face::Sans, kLabelSize, kFaintInk);
    } else {
      Text(kMargin, Bottom + 6, Note, Face::Sans, kLabelSize, kFaintInk);
      Bottom += kLabelSize + 10;
    }
    Cursor_ = Bottom + 14;
    const int32_t RuleY = Cursor_ - 6;
    Later([=](Pixmap &Target) { Canvas(Target).Fill(kMargin, RuleY, kSheetWidth - 2 * kMargin, 1, kRuleColor); });
  }

  void Keep(const std::string &Key, SheetArea Area) { Areas_[Key] = Area; }

  int32_t Cursor_ = kMargin;

 private:
  Fonts &Text_;
  std::vector<std::function<void(Pixmap &)>> Steps_;
  std::map<std::string, SheetArea> Areas_;
};

void DrawPixmapOnChecker(Pixmap &Target, int32_t X, int32_t Y, const Pixmap &Image) {
  Canvas Paint(Target);
  Paint.Checkerboard(X, Y, Image.Width, Image.Height);
  Paint.Draw(X, Y, Image);
}

// Shrinks Image to fit a Box x Box square, keeping its proportions.
void DrawThumb(Pixmap &Target, int32_t X, int32_t Y, int32_t Box, const Pixmap &Image) {
  if (Image.Width == 0 || Image.Height == 0) {
    return;
  }
  const int32_t Longest = std::max(Image.Width, Image.Height);
  const int32_t W = std::max(1, Image.Width * Box / Longest);
  const int32_t H = std::max(1, Image.Height * Box / Longest);
  Canvas Paint(Target);
  Paint.Checkerboard(X, Y, Box, Box, 4);
  Paint.DrawScaled(X + (Box - W) / 2, Y + (Box - H) / 2, W, H, Image);
}

// ---- main screens -------------------------------------------------------------

void DrawScreenImage(SheetWriter &W, const ScreenFacts &Screen, int32_t X, int32_t Y) {
  W.Later([&Screen, X, Y](Pixmap &Target) {
    Canvas Paint(Target);
    Paint.Draw(X, Y, Screen.Screen);
    for (int32_t Index = 0; Index < THEME_RECT_COUNT; Index++) {
      const HOST_RECT &R = Screen.Rects[Index];
      Paint.Outline(X + R.Left, Y + R.Top, R.Right - R.Left, R.Bottom - R.Top, 3, kRectColors[Index]);
    }
    const HOST_RECT &L = Screen.LayoutAfter;
    for (int32_t Step = 0; Step < L.Right - L.Left; Step += 12) {
      Paint.Fill(X + L.Left + Step, Y + L.Top, 6, 2, kRectColors[4]);
      Paint.Fill(X + L.Left + Step, Y + L.Bottom - 2, 6, 2, kRectColors[4]);
    }
    for (int32_t Step = 0; Step < L.Bottom - L.Top; Step += 12) {
      Paint.Fill(X + L.Left, Y + L.Top + Step, 2, 6, kRectColors[4]);
      Paint.Fill(X + L.Right - 2, Y + L.Top + Step, 2, 6, kRectColors[4]);
    }
  });
  for (int32_t Index = 0; Index < THEME_RECT_COUNT; Index++) {
    const HOST_RECT &R = Screen.Rects[Index];
    const std::string Label = std::to_string(Index) + "  " + RectText(R);
    const int32_t LabelWidth = W.Measure(Label, Face::SansBold, kLabelSize) + 10;
    // Rectangles 0 and 5 share their corner with others: their labels go lower.
    const int32_t LabelX = X + R.Left + 4;
    const int32_t LabelY = Y + R.Top + 4 + (Index == 5 ? 28 : 0) + (Index == 0 ? 56 : 0);
    W.Later([=](Pixmap &Target) { Canvas(Target).Fill(LabelX, LabelY, LabelWidth, kLabelSize + 8, 0xD0000000); });
    W.Text(LabelX + 5, LabelY + 2, Label, Face::SansBold, kLabelSize, kRectColors[Index]);
  }
  const HOST_RECT &L = Screen.LayoutAfter;
  const std::string Narrowed = "4 after the layout event  " + RectText(L);
  const int32_t NarrowedWidth = W.Measure(Narrowed, Face::Sans, kLabelSize) + 10;
  W.Later([=](Pixmap &Target) {
    Canvas(Target).Fill(X + L.Left + 4, Y + L.Bottom - kLabelSize - 12, NarrowedWidth, kLabelSize + 8, 0xD0000000);
  });
  W.Text(X + L.Left + 9, Y + L.Bottom - kLabelSize - 10, Narrowed, Face::Sans, kLabelSize, kRectColors[4]);
  W.Keep(ScreenKey(Screen), {X, Y, Screen.Width, Screen.Height});
}

// The store items flowed into a box Width wide from (X, Y); returns the height used.
int32_t DrawStore(SheetWriter &W, const ScreenFacts &Screen, int32_t X, int32_t Y, int32_t Width) {
  int32_t PenX = X;
  int32_t PenY = Y;
  int32_t ShelfHeight = 0;
  for (const StoreItem &Item : Screen.Store) {
    const std::string Caption = Item.Label + "  " + SizeText(Item.Pixels.Width, Item.Pixels.Height) +
                                (Item.Mode != 0 ? "  mode " + std::to_string(Item.Mode) : "");
    const int32_t CellWidth = std::max(Item.Pixels.Width, W.Measure(Caption, Face::Sans, kLabelSize)) + 14;
    const int32_t CellHeight = Item.Pixels.Height + kLabelSize + 16;
    if (PenX + CellWidth > X + Width && PenX != X) {
      PenX = X;
      PenY += ShelfHeight;
      ShelfHeight = 0;
    }
    W.Text(PenX, PenY, Caption, Face::Sans, kLabelSize, kInkColor);
    const int32_t ImageY = PenY + kLabelSize + 6;
    W.Later([&Item, PenX, ImageY](Pixmap &Target) { DrawPixmapOnChecker(Target, PenX, ImageY, Item.Pixels); });
    W.Keep(StoreKey(Screen, Item.Label), {PenX, ImageY, Item.Pixels.Width, Item.Pixels.Height});
    PenX += CellWidth;
    ShelfHeight = std::max(ShelfHeight, CellHeight);
  }
  return PenY + ShelfHeight - Y;
}

void DrawScreens(SheetWriter &W, const PreviewFacts &Facts) {
  for (size_t Index = 0; Index < Facts.Screens.size(); Index++) {
    const ScreenFacts &Screen = Facts.Screens[Index];
    W.Heading("Main screen " + SizeText(Screen.Width, Screen.Height),
              "the background (host image 1) and the ten layout rectangles as ThemeGetRect had them scaled; whatever "
              "the paint, layout and create events drew; the images set-up left in the host's store");
    const int32_t Top = W.Cursor_;
    DrawScreenImage(W, Screen, kMargin, Top);
    const int32_t Beside = kSheetWidth - 2 * kMargin - Screen.Width - 20;
    if (Beside >= 400) {
      const int32_t Used = DrawStore(W, Screen, kMargin + Screen.Width + 20, Top, Beside);
      W.Cursor_ = Top + std::max(Screen.Height, Used) + 10;
    } else {
      W.Cursor_ = Top + Screen.Height + 14;
      W.Cursor_ += DrawStore(W, Screen, kMargin, W.Cursor_, kSheetWidth - 2 * kMargin) + 10;
    }
  }
}

// ---- style board ----------------------------------------------------------------

void DrawKeep(Pixmap &Target, int32_t X, int32_t Y) {
  Canvas Paint(Target);
  for (int32_t Step = 0; Step < kBrushSize; Step += 4) {
    Paint.Fill(X + Step, Y, 2, 1, kFaintInk);
    Paint.Fill(X + Step, Y + kBrushSize - 1, 2, 1, kFaintInk);
    Paint.Fill(X, Y + Step, 1, 2, kFaintInk);
    Paint.Fill(X + kBrushSize - 1, Y + Step, 1, 2, kFaintInk);
  }
}

void DrawNone(Pixmap &Target, int32_t X, int32_t Y) {
  Canvas Paint(Target);
  Paint.Fill(X, Y, kBrushSize, kBrushSize, 0xFFFFFFFF);
  Paint.Outline(X, Y, kBrushSize, kBrushSize, 1, 0xFFD02020);
  for (int32_t Step = 2; Step < kBrushSize - 2; Step++) {
    Paint.Fill(X + Step, Y + Step, 2, 1, 0xFFD02020);
    Paint.Fill(X + kBrushSize - 1 - Step - 1, Y + Step, 2, 1, 0xFFD02020);
  }
}

void DrawBrush(Pixmap &Target, int32_t X, int32_t Y, const BrushCell &Cell) {
  Canvas Paint(Target);
  switch (Cell.What) {
    case BrushCell::Keep:
      DrawKeep(Target, X, Y);
      break;
    case BrushCell::None:
      DrawNone(Target, X, Y);
      break;
    case BrushCell::Color:
      Paint.Checkerboard(X, Y, kBrushSize, kBrushSize, 4);
      for (int32_t Row = 0; Row < kBrushSize; Row++) {
        for (int32_t Column = 0; Column < kBrushSize; Column++) {
          Paint.Blend(X + Column, Y + Row, Cell.Argb);
        }
      }
      Paint.Outline(X, Y, kBrushSize, kBrushSize, 1, 0xFF909090);
      break;
    case BrushCell::Image:
      DrawThumb(Target, X, Y, kBrushSize, Cell.Thumb);
      Paint.Outline(X, Y, kBrushSize, kBrushSize, 1, 0xFF3070D0);
      break;
    case BrushCell::Unknown:
      Paint.Fill(X, Y, kBrushSize, kBrushSize, 0xFFFF00FF);
      break;
  }
}

std::vector<std::string> Wrap(const std::string &Line, size_t Width) {
  std::vector<std::string> Lines;
  for (size_t Start = 0; Start < Line.size(); Start += Width) {
    Lines.push_back((Start == 0 ? "" : "    ") + Line.substr(Start, Width));
  }
  if (Lines.empty()) {
    Lines.push_back("");
  }
  return Lines;
}

void DrawBoardLegend(SheetWriter &W) {
  const int32_t Y = W.Cursor_;
  int32_t X = kMargin;
  W.Later([=](Pixmap &Target) { DrawKeep(Target, X, Y); });
  W.Text(X + kBrushSize + 6, Y + 4, "keep (0xFFFF): position left as it is", Face::Sans, kLabelSize, kInkColor);
  X += 330;
  W.Later([=](Pixmap &Target) { DrawNone(Target, X, Y); });
  W.Text(X + kBrushSize + 6, Y + 4, "0: explicitly no brush", Face::Sans, kLabelSize, kInkColor);
  X += 250;
  W.Later([=](Pixmap &Target) {
    Canvas Paint(Target);
    Paint.Fill(X, Y, kBrushSize, kBrushSize, 0xFFFF8333);
    Paint.Outline(X, Y, kBrushSize, kBrushSize, 1, 0xFF909090);
  });
  W.Text(X + kBrushSize + 6, Y + 4, "colour brush (grey frame)", Face::Sans, kLabelSize, kInkColor);
  X += 260;
  W.Later([=](Pixmap &Target) { Canvas(Target).Outline(X, Y, kBrushSize, kBrushSize, 1, 0xFF3070D0); });
  W.Text(X + kBrushSize + 6, Y + 4, "image brush (blue frame)", Face::Sans, kLabelSize, kInkColor);
  W.Cursor_ += kBrushSize + 12;
  for (int32_t State = 0; State < 7; State++) {
    W.Text(kMargin + kBoardLabelWidth + State * kStateCellWidth, W.Cursor_, "state " + std::to_string(State),
           Face::SansBold, kLabelSize, kInkColor);
  }
  W.Text(kBoardCallsX, W.Cursor_, "calls, in order, in the stages' notation", Face::SansBold, kLabelSize, kInkColor);
  W.Cursor_ += kLabelSize + 10;
}

void DrawStyleBoard(SheetWriter &W, const PreviewFacts &Facts) {
  W.Heading("Style board", "one line per styled row: the brush sets of the states the row sets (fields 0 to 3 from "
                           "left), and every call the host received");
  DrawBoardLegend(W);
  const size_t CharsPerLine = static_cast<size_t>((kSheetWidth - kMargin - kBoardCallsX) /
                                                  std::max(1, W.Measure("0", Face::Mono, kMonoSize)));
  bool Shade = false;
  for (const StyleRow &Row : Facts.StyleRows) {
    std::vector<std::string> Lines;
    for (const std::string &Call : Row.Calls) {
      for (std::string &Part : Wrap(Call, CharsPerLine)) {
        Lines.push_back(std::move(Part));
      }
    }
    if (Lines.empty()) {
      Lines.push_back("(no host call)");
    }
    const int32_t Top = W.Cursor_;
    const int32_t Height = std::max<int32_t>(kBrushSize + 12, static_cast<int32_t>(Lines.size()) * kMonoLineHeight + 8);
    if (Shade) {
      W.Later([=](Pixmap &Target) {
        Canvas(Target).Fill(kMargin - 6, Top - 3, kSheetWidth - 2 * kMargin + 12, Height, 0xFFE9E9E5);
      });
    }
    Shade = !Shade;
    W.Text(kMargin, Top + 4, Row.Label, Face::SansBold, kLabelSize, kInkColor);
    for (const auto &[State, Cells] : Row.States) {
      const int32_t CellX = kMargin + kBoardLabelWidth + static_cast<int32_t>(State) * kStateCellWidth;
      for (size_t Field = 0; Field < Cells.size(); Field++) {
        const int32_t BrushX = CellX + static_cast<int32_t>(Field) * (kBrushSize + 2);
        const BrushCell *Cell = &Cells[Field];
        W.Later([=](Pixmap &Target) { DrawBrush(Target, BrushX, Top + 2, *Cell); });
      }
    }
    for (size_t Line = 0; Line < Lines.size(); Line++) {
      W.Text(kBoardCallsX, Top + 3 + static_cast<int32_t>(Line) * kMonoLineHeight, Lines[Line], Face::Mono, kMonoSize,
             kInkColor);
    }
    W.Keep(StyleKey(Row.Label), {kMargin - 6, Top - 3, kSheetWidth - 2 * kMargin + 12, Height});
    W.Cursor_ += Height;
  }
}

// ---- palette --------------------------------------------------------------------

void DrawPalette(SheetWriter &W, const PreviewFacts &Facts) {
  W.Heading("Palette", std::to_string(Facts.Palette.size()) +
                           " colours as ThemeGetColor gives them, ARGB; transparent ones over a checkerboard");
  constexpr int32_t Columns = 12;
  constexpr int32_t CellWidth = (kSheetWidth - 2 * kMargin) / Columns;
  constexpr int32_t Swatch = 52;
  constexpr int32_t CellHeight = Swatch + 12;
  for (size_t Index = 0; Index < Facts.Palette.size(); Index++) {
    const int32_t X = kMargin + static_cast<int32_t>(Index % Columns) * CellWidth;
    const int32_t Y = W.Cursor_ + static_cast<int32_t>(Index / Columns) * CellHeight;
    const uint32_t Color = Facts.Palette[Index];
    W.Later([=](Pixmap &Target) {
      Canvas Paint(Target);
      Paint.Checkerboard(X, Y, Swatch, Swatch);
      for (int32_t Row = 0; Row < Swatch; Row++) {
        for (int32_t Column = 0; Column < Swatch; Column++) {
          Paint.Blend(X + Column, Y + Row, Color);
        }
      }
      Paint.Outline(X, Y, Swatch, Swatch, 1, 0xFF909090);
    });
    W.Text(X + Swatch + 8, Y + 6, std::to_string(Index), Face::SansBold, kLabelSize, kInkColor);
    W.Text(X + Swatch + 8, Y + 28, ArgbText(Color), Face::Mono, kMonoSize, kInkColor);
    W.Keep(PaletteKey(Index), {X, Y, Swatch, Swatch});
  }
  const int32_t Rows = static_cast<int32_t>((Facts.Palette.size() + Columns - 1) / Columns);
  W.Cursor_ += Rows * CellHeight;
}

// ---- image atlas ------------------------------------------------------------------

void DrawAtlas(SheetWriter &W, const PreviewFacts &Facts) {
  W.Heading("Image atlas", "every image of the driver's package at its own size: theme image id, size, format, and the "
                           "host image ids that ThemeMapImage maps to it");
  int32_t PenX = kMargin;
  int32_t ShelfTop = W.Cursor_;
  int32_t ShelfHeight = 0;
  for (const ThemeImage &Image : Facts.Images) {
    std::string HostIds;
    for (const uint32_t HostId : Image.HostIds) {
      HostIds += (HostIds.empty() ? "host " : ", ") + std::to_string(HostId);
    }
    if (HostIds.empty()) {
      HostIds = "no host id";
    }
    const std::string Caption = std::to_string(Image.Id) + "  " + SizeText(Image.Pixels.Width, Image.Pixels.Height) +
                                (Image.Format == "JPEG" ? "  JPEG" : "");
    const int32_t TextWidth =
        std::max(W.Measure(Caption, Face::SansBold, kLabelSize), W.Measure(HostIds, Face::Sans, kLabelSize - 2));
    const int32_t CellWidth = std::max(Image.Pixels.Width, TextWidth) + 16;
    const int32_t CellHeight = Image.Pixels.Height + 2 * kLabelSize + 18;
    if (PenX + CellWidth > kSheetWidth - kMargin && PenX != kMargin) {
      PenX = kMargin;
      ShelfTop += ShelfHeight;
      ShelfHeight = 0;
    }
    W.Text(PenX, ShelfTop, Caption, Face::SansBold, kLabelSize, kInkColor);
    W.Text(PenX, ShelfTop + kLabelSize + 3, HostIds, Face::Sans, kLabelSize - 2, kFaintInk);
    const int32_t ImageY = ShelfTop + 2 * kLabelSize + 8;
    const Pixmap *Pixels = &Image.Pixels;
    const int32_t ImageX = PenX;
    W.Later([=](Pixmap &Target) { DrawPixmapOnChecker(Target, ImageX, ImageY, *Pixels); });
    W.Keep(ImageKey(Image.Id), {PenX, ImageY, Image.Pixels.Width, Image.Pixels.Height});
    PenX += CellWidth;
    ShelfHeight = std::max(ShelfHeight, CellHeight);
  }
  W.Cursor_ = ShelfTop + ShelfHeight;
}

}  // namespace

std::string PaletteKey(size_t Index) { return "palette " + std::to_string(Index); }
std::string ImageKey(uint32_t Id) { return "image " + std::to_string(Id); }
std::string StyleKey(const std::string &RowLabel) { return "style " + RowLabel; }
std::string ScreenKey(const ScreenFacts &Screen) { return "screen " + SizeText(Screen.Width, Screen.Height); }
std::string StoreKey(const ScreenFacts &Screen, const std::string &ItemLabel) {
  return "store " + SizeText(Screen.Width, Screen.Height) + " " + ItemLabel;
}

Sheet DrawSheet(const PreviewFacts &Facts, Fonts &Text) {
  SheetWriter W(Text);
  W.Text(kMargin, W.Cursor_, "Theme preview: " + Facts.ThemeName + ", interface version " + std::to_string(Facts.Version),
         Face::SansBold, kTitleSize, kInkColor);
  W.Cursor_ += kTitleSize + 8;
  W.Text(kMargin, W.Cursor_,
         "Drawn by theme-preview from the built driver: its own image package and its record's operations, run by a "
         "host that draws.",
         Face::Sans, kLabelSize, kFaintInk);
  W.Cursor_ += kLabelSize + 6;
  DrawScreens(W, Facts);
  DrawStyleBoard(W, Facts);
  DrawPalette(W, Facts);
  DrawAtlas(W, Facts);
  return W.Finish();
}

}  // namespace preview
