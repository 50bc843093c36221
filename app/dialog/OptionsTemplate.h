#pragma once

#include <span>

#include "DialogTemplate.h"

// The options dialog, IDD_OPTIONS: how a job finds its documents and how it renames them.
inline constexpr const char8_t* kOptionsCaption = u8"选项";
inline constexpr int kOptionsWidthUnits = 260;
inline constexpr int kOptionsHeightUnits = 203;

std::span<const TemplateControl> optionsTemplate();
