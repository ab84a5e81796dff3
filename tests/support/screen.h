// What is on the Wine desktop's screen, read through GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A rectangle of screen pixels, 0x00RRGGBB, row by row from the top.
struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

ScreenPixels CaptureScreen(const RECT& area);

// Writes the pixels as a PNG file (uncompressed); false on a write error.
bool SavePng(const ScreenPixels& image, const std::string& path);
