#pragma once

#include "common/Lang.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The facts of each module type, in one table: one row per type code 0..3, read by every part
// of the program that differs between the types. Type 4 means "no module identified".
namespace ModuleTypes {

constexpr int None = 4;
constexpr int MasterSlot = 40;
constexpr int SecondFunctionTimeSlot = 41;
constexpr int RelaySlots = 340;
constexpr int DimSlots = 150;
constexpr int VelanoSlots = 230;
constexpr int SceneFields = 12;
constexpr int OutputButtons = 12;

// Which of the three images a type's configuration lives in; types 0 and 3 share one.
enum class Image
{
    Relay,
    Dim,
    Velano
};

} // namespace ModuleTypes

struct ModuleTypeInfo
{
    int type;
    const char *comboEntry; // its entry in the module type list
    const char *picture;    // bitmap of the installation folder
    ModuleTypes::Image image;
    int slotCount;                // slots of the image: 0 .. slotCount-1
    int lastSlot;                 // its line ends a read
    int versionSlot;              // the module's firmware version
    int progressMaximum;          // of the progress bar during a read or a send
    int outputs;                  // outputs (relay modules) or channels (dim, Velano) a push button switches
    int dimChannels;              // channels with a start value (0 on the relay modules)
    int firstSceneSlot;           // scene 1 starts here; a scene is one slot per output plus the group flag
    Lang::Text typeLabel;         // under the picture of the module page
    Lang::Text pageCaption;       // the module page's frame
    Lang::Text pageCaptionOfFile; // the same after opening a module file
    bool moreInfoButton;          // one documentation button ("Meer info..."), or one per model
    // The output each output-test button switches (0: the button is hidden).
    std::array<int, ModuleTypes::OutputButtons> outputButtons;
    // The output or channel each scene field shows (0: the field is hidden).
    std::array<int, ModuleTypes::SceneFields> sceneFields;
    // The fields in the order a scene is shown.
    std::array<int, ModuleTypes::SceneFields> sceneFieldOrder;
    int sceneFieldCount;
};

namespace ModuleTypes {

// The row of a type code (0..3); nullptr for any other code.
const ModuleTypeInfo *info(int type);
bool isKnown(int type);
// Types 0 and 3: twelve relay outputs, the output functions editor.
bool isRelay(int type);
// Types 1 and 2: dim channels with start values.
bool hasDimChannels(int type);
// The entries of the module type list, in list order.
QStringList comboEntries();
// The type whose module type list entry is `entry` (exact, case-sensitive), or -1.
int typeForComboEntry(const QString &entry);

} // namespace ModuleTypes
