// gui_mm: the Morix Manager program.
#include <new>

#include "motif/motif_internal.h"
#include "ui/app_globals.h"

int main(int argc, char** argv) {
    // Memory exhaustion anywhere ends the program with its message.
    std::set_new_handler(mm_out_of_memory);
    return gui_main(argc, argv);
}
