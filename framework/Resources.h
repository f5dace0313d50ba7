// Menus, accelerators and toolbars as tables the application hands to its frames.
#pragma once

#include "Commands.h"

#include <QKeySequence>
#include <QPixmap>
#include <QString>

#include <map>
#include <vector>

namespace fw {

struct MenuItem
{
    enum Kind
    {
        Command,
        Separator,
        Popup
    };
    Kind kind = Command;
    QString text; // "\t" separates the key hint
    CommandId id = 0;
    std::vector<MenuItem> items; // a popup's items
    bool disabled = false;       // drawn disabled whatever the command's state
    bool windowList = false;     // a popup that lists the open windows at its end
};

inline MenuItem Item(const char* utf8Text, CommandId id, bool disabled = false)
{
    return {MenuItem::Command, QString::fromUtf8(utf8Text), id, {}, disabled, false};
}
inline MenuItem Separator()
{
    return {MenuItem::Separator, QString(), 0, {}, false, false};
}
inline MenuItem Popup(const char* utf8Text, std::vector<MenuItem> items, bool windowList = false)
{
    return {MenuItem::Popup, QString::fromUtf8(utf8Text), 0, std::move(items), false, windowList};
}

using MenuDefinition = std::vector<MenuItem>; // the menu bar's popups

struct Accelerator
{
    QKeySequence keys;
    CommandId id;
};

struct ToolbarDefinition
{
    std::vector<CommandId> buttons; // 0 stands for a separator
    QPixmap (*bitmap)() = nullptr;  // a strip of images, one per button, left to right
    int imageWidth = 16;
    int imageHeight = 15;
};

struct Resources
{
    std::map<unsigned, MenuDefinition> menus;
    std::map<unsigned, std::vector<Accelerator>> accelerators;
    std::map<unsigned, ToolbarDefinition> toolbars;
};

} // namespace fw
