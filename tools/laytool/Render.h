#pragma once

#include "LayoutDataObject.h"

#include <string>

struct RenderOptions
{
    long long current = -1; // the control drawn as the current one, or -1
    int size = 0;           // 0: the canvas picture; else the screen alone within size x size
    bool labels = false;    // each control's name inside its rectangle
};

// Sizes render --size takes.
inline constexpr int MIN_RENDER_SIZE = 1;
inline constexpr int MAX_RENDER_SIZE = 4096;

// Writes the canvas picture of layout as a PNG file: 840 by 640 white pixels, or the 800 by
// 600 screen scaled to size pixels wide. False with a message on failure; the file is then
// left as it was.
bool RenderLayoutPng(const LayoutDataObject& layout, const RenderOptions& options,
                     const std::string& path, std::string& error);
