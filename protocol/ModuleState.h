#pragma once

#include "protocol/ModuleImage.h"

#include <QString>

// The one shared model of the program: the three module images, the type of the module in
// hand, the state of the serial conversation and the settings read at start-up. The main
// window owns one instance for the whole run; frames, dialogs and the conversation engine
// work on it by reference.
struct ModuleState
{
    ModuleImage RelayImage{ModuleTypes::RelaySlots};
    ModuleImage DimImage{ModuleTypes::DimSlots};
    ModuleImage VelanoImage{ModuleTypes::VelanoSlots};

    int ModuleType = ModuleTypes::None;

    // Conversation state.
    QString PendingCommand;
    QString RxText;
    int TransferMode = 0;
    int ReadComplete = 0;
    int SendSlot = 0;
    int DiagnosticMode = 0;
    int MasterFlag = 0;
    QString LastPressTime;

    // Settings (read at start-up) and the current module file.
    int Language = 1;
    int ComPort = 1;
    int PcDelay = 0;
    QString DefaultDirectory;
    QString ModuleFilePath;

    // The image that belongs to a module type: 1 dim, 2 Velano, 0 and 3 relay; nullptr otherwise.
    ModuleImage *imageFor(int type);
    const ModuleImage *imageFor(int type) const;
    // The image of the current ModuleType (nullptr while no module is identified).
    ModuleImage *currentImage() { return imageFor(ModuleType); }
    const ModuleImage *currentImage() const { return imageFor(ModuleType); }
};
