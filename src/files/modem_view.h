// What the modem commands hand to the windows that host them: the outcome
// (its warnings shown over the window that started the command), the async
// port window's modem menu rebuilt, and what the Edit Modem dialog shows.
// The frame renders it; it registers its renderer in mdm_front_end, and the
// entry points the basic-mode pages call (mdm_init, mdm_edit_act,
// mdm_apply_act) hand every outcome to it. Nothing in this layer writes a
// widget.
#pragma once

#include <optional>
#include <string>

#include "files/modem_cfg.h"
#include "ui/outcome.h"

enum class MdmDialogShow { keep, open, close };

// The Edit Modem dialog after a command; unset members stay as they are.
struct MdmDialogView {
    MdmDialogShow show = MdmDialogShow::keep;
    std::optional<std::string> name; // the name field's text
    bool name_read_only = false;     // (with name) the field cannot be typed in
    std::optional<MdmTexts> texts;   // the three strings
    std::optional<bool> texts_read_only;
    std::optional<bool> defaults; // the defaults toggle
};

struct MdmOutcome {
    Outcome outcome;
    int parent = 0; // the window over which its warnings show
    // The async port window's modem menu is rebuilt with this name chosen
    // (see mdm_opt_entries); unset: the menu stays.
    std::optional<std::string> menu;
    MdmDialogView dialog;
};

// What the frame registers for the modem commands.
struct MdmFrontEnd {
    void (*render)(const MdmOutcome& outcome) = nullptr; // warnings, menu, dialog
    void (*busy)(bool on) = nullptr;                     // busy cursor around network work
};
extern MdmFrontEnd mdm_front_end;

// Hands an outcome to the registered renderer (nothing without one).
void mdm_render(const MdmOutcome& outcome);
// Turns the busy cursor on or off through the registered hook.
void mdm_busy(bool on);
