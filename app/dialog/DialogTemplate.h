#pragma once

#include <span>

// The main dialog's template as the Windows resource script gives it: controls in tab
// order, positions in dialog units.
struct TemplateControl {
    enum Kind { Button, CheckBox, Edit, Label };
    int id;  // 0 for the unnamed labels
    const char* name;
    Kind kind;
    const char* text;  // UTF-8
    int x, y, width, height;
};

inline constexpr int kDialogWidthUnits = 386;
inline constexpr int kDialogHeightUnits = 241;

std::span<const TemplateControl> dialogTemplate();
