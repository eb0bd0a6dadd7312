#pragma once

#include "common/Lang.h"

#include <QList>
#include <QString>
#include <optional>

// The scene table of a module image and the value fields of the scene editor that show it.
//
// A module holds 20 scenes. Scene s (0..19) is a run of consecutive slots of the image: one slot
// per output or channel, then the group-scene flag (1 group scene, 0 not). The editor shows a
// scene in twelve value fields (two columns of six); which field shows which channel depends on
// the module type. Every function here takes the module type code (0..3) and answers -1,
// std::nullopt or an empty list for any other type, scene, field, channel or position.
namespace SceneLayout {

constexpr int SceneCount = 20;
constexpr int FieldCount = 12;

// How a channel is set in a scene.
// Relay-style: off, on, toggle, unchanged ("***").
// Dim-style: off, 10%..90%, toggle, unchanged ("***").
enum class ChannelKind
{
    Relay,
    Dim
};

// The channel (1-based) a value field shows and how that channel is set.
struct FieldUse
{
    int channel;
    ChannelKind kind;
};

// Outputs/channels of a module type: 12 relay modules (0, 3), 4 dim module (1), 8 Velano (2).
int channelCount(int type);
// Slots one scene takes: the channels plus the group-scene flag.
int slotsPerScene(int type);
// The first slot of scene 0.
int firstSceneSlot(int type);

// The slot of channel `channel` (1-based) in scene `scene`.
int channelSlot(int type, int scene, int channel);
// The slot of the group-scene flag of scene `scene`.
int groupFlagSlot(int type, int scene);

// The channel shown by value field `field` (0..11); std::nullopt for a field the type leaves hidden.
std::optional<FieldUse> fieldUse(int type, int field);
// The slot value field `field` edits in scene `scene`.
int fieldSlot(int type, int scene, int field);
// The used value fields in the order a scene is shown.
QList<int> showOrder(int type);

// Entries of the value list of a channel kind: 4 relay-style, 12 dim-style.
int listSize(ChannelKind kind);
// The code stored for list position `position`.
int codeAt(int type, ChannelKind kind, int position);
// The list position that shows stored code `code`; -1 for a code the list does not contain.
int positionOf(int type, ChannelKind kind, int code);
// The text of list position `position` (the same for every module type).
std::optional<Lang::Text> valueText(ChannelKind kind, int position);
// The text a field shows for a stored code; nothing for a code its list does not hold.
std::optional<Lang::Text> codeText(int type, ChannelKind kind, int code);
// Whether a stored code is the "***" entry: the scene leaves that channel as it is.
bool isUnchanged(int type, ChannelKind kind, int code);
// The scene selector's prompt, shown while no scene is chosen.
Lang::Text scenePrompt();

} // namespace SceneLayout
