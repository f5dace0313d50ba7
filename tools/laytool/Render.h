#pragma once

#include "LayoutDataObject.h"

#include <string>

// Writes the canvas picture of layout to a PNG file of 840 by 640 white pixels; current is
// the index of the control drawn as the current one, or -1. False with a message on failure.
bool RenderLayoutPng(const LayoutDataObject& layout, long long current, const std::string& path,
                     std::string& error);
