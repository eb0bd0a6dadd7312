#pragma once

#include "protocol/ModuleImage.h"
#include "protocol/ModuleNames.h"

#include <QString>
#include <array>

// The one shared model of the program: the three module images, the type of the module in
// hand, the master flag and the settings read at start-up. The main
// window owns one instance for the whole run; frames, dialogs and the conversation engine
// work on it by reference.
struct ModuleState
{
    ModuleImage RelayImage{ModuleTypes::RelaySlots};
    ModuleImage DimImage{ModuleTypes::DimSlots};
    ModuleImage VelanoImage{ModuleTypes::VelanoSlots};

    int ModuleType = ModuleTypes::None;

    // 1 master, 0 slave: from the module's announce line, or the last master/slave choice.
    int MasterFlag = 0;
    // What the installer calls the outputs, push buttons and scenes of the module in hand: the
    // names of the installation module in hand, none otherwise.
    ModuleNames Names;
    // Time of day of the last push-button report the monitor took.
    QString LastPressTime;

    // Settings (read at start-up) and the current module file.
    int Language = 1;
    int ComPort = 1;
    int PcDelay = 0;
    QString DefaultDirectory;
    QString ModuleFilePath;
    // The image in hand is the content of ModuleFilePath: opened or saved there, and not
    // replaced by a read since. Only then do the window's title and the report name the file.
    bool ImageFromFile = false;
    // ModuleFilePath while the image in hand is that file's, else empty.
    QString fileOfImage() const { return ImageFromFile ? ModuleFilePath : QString(); }

    // The image that belongs to a module type: 1 dim, 2 Velano, 0 and 3 relay; nullptr otherwise.
    ModuleImage *imageFor(int type);
    const ModuleImage *imageFor(int type) const;
    // A module file's configuration becomes the one in hand: its type, and the slots of that
    // type's image (the other images stay as they are).
    void takeModule(int type, const std::vector<int> &values);
    // The image of the current ModuleType (nullptr while no module is identified).
    ModuleImage *currentImage() { return imageFor(ModuleType); }
    const ModuleImage *currentImage() const { return imageFor(ModuleType); }

    // The current type's image as it was at the last completed read, completed send, open or
    // save: taken now.
    void markUnchanged();
    // The current type's image differs from that copy (an image never marked is compared with a
    // blank one). Editors that merely store a value when they open do not count as long as the
    // value is the same.
    bool hasChanges() const;

private:
    // One copy per image, in the order of ModuleTypes::Image.
    std::array<ModuleImage, 3> m_unchanged{ModuleImage(ModuleTypes::RelaySlots),
                                           ModuleImage(ModuleTypes::DimSlots),
                                           ModuleImage(ModuleTypes::VelanoSlots)};
};
