#include "ui/help_texts.h"

std::string prompt_help_text(int id) {
    switch (id) {
    case 79:
        return "Enter the network address, the subnet mask and the time-out (in seconds)\n"
               "of the discovery. Empty fields take their default values.";
    case 82:
        return "Select the parts of the Morixes that are reset after the configuration\n"
               "file was changed.";
    case 259:
        return "Enter a unique name for the new user-defined group. Do not use any punctuation.";
    default:
        return "";
    }
}

std::string fil_sel_help_text(int id) {
    switch (id) {
    case 22:
        return "Select or type the name of the file that the Morix list is saved to.";
    case 23:
        return "Select the Morix list file to open. Its Morixes replace the current list.";
    case 242:
        return "Select or type the name of the file that the discovered Morixes are saved to.";
    case 359:
        return "Select or type the name of the script file to create.";
    default:
        return "Select or type the name of the file that the window's output is saved to.\n"
               "Files are kept in the saved_text folder of the installation directory.";
    }
}
