#include "frame/help_texts.h"

#include "devices/discovery.h"
#include "ui/widget_ids.h"

std::string prompt_help_text(int id) {
    switch (id) {
    case W_NEW_DISC_PB:
        return DSC_PROMPT_HELP;
    case W_EDIT_CFG_PB:
        return "Select the parts of the Morixes that are reset after the configuration\n"
               "file was changed.";
    case W_UDF_NEW:
        return "Enter a unique name for the new user-defined group. Do not use any punctuation.";
    default:
        return "";
    }
}

std::string fil_sel_help_text(int id) {
    switch (id) {
    case W_SAVE_LIST_PB:
        return "Select or type the name of the file that the Morix list is saved to.";
    case W_OPEN_LIST_PB:
        return "Select the Morix list file to open. Its Morixes replace the current list.";
    case W_DISC_SAVE_LIST_PB:
        return DSC_SAVE_HELP;
    case W_CRT_CREATE:
        return "Select or type the name of the script file to create.";
    default:
        return "Select or type the name of the file that the window's output is saved to.\n"
               "Files are kept in the saved_text folder of the installation directory.";
    }
}
