#pragma once
// What the window loader takes from the window's layout tree (app/layout/LayoutTree.h): the window's own
// properties and its controls in painting order, with the symbolic values checked. Raises ELayoutError
// for a value of the wrong type or a symbol the loader does not know.
//
// Decisions:
// - Properties the program has no use for are ignored: OldCreateOrder, PixelsPerInch and TextHeight (the
//   scaling works from the design values of app/WindowGeometry.h), a label's AutoSize, Color, ParentColor
//   and Transparent (every label is drawn transparently, painting no background).
// - A property the layout does not list takes its default: 0, the empty text, alNone, []; the font's
//   defaults are those of the system's default GUI font (charset DEFAULT_CHARSET).
// - Control classes: TImage (a picture control) and TLabel; alignments alNone and alTop. Anything else
//   is refused, so a layout that asks for more than the loader can build fails loudly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/layout/LayoutTree.h"
#include "app/WindowGeometry.h"

enum class ControlKind { Picture, Label };

struct ControlDescription {
    std::string name;
    ControlKind kind = ControlKind::Picture;
    ControlBounds bounds;
    bool alignTop = false;
    std::string caption;                              // a label's text
    std::optional<std::vector<std::uint8_t>> picture; // a picture control's Picture.Data block
};

struct FontDescription {
    std::string name;
    int height = 0;
    int charset = 1;
    std::string color = "clWindowText";
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct FormDescription {
    std::string caption;
    ScreenPoint position;
    PixelSize client;
    std::string borderStyle = "bsSizeable";
    bool systemMenu = false;
    bool minimizeBox = false;
    bool maximizeBox = false;
    std::string color = "clBtnFace";
    FontDescription font;
    bool desktopCenter = false;
    std::string onShow; // name of the show handler, empty when none is bound
    std::vector<ControlDescription> controls;
};

FormDescription DescribeForm(const LayoutObject& form);

// The client size and the control bounds of the built window: scaled to the measured height of the text
// "0" (ScaleToTextHeight), then each alTop control attached, in order, to the top of the space the ones
// before it left, across the full client width, keeping its height.
FormBounds LaidOutBounds(const FormDescription& form, int measuredTextHeight);
