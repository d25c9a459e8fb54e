// gui_mm: the Morix Manager program.
#include <new>

#include "motif/motif_internal.h"
#include "ui/app_globals.h"
#include "ui/temp_files.h"

int main(int argc, char** argv) {
    // Memory exhaustion anywhere ends the program with its message.
    std::set_new_handler(mm_out_of_memory);
    // SIGINT, SIGTERM and SIGHUP remove the temporary files of a transfer
    temp_cleanup_on_signals();
    return gui_main(argc, argv);
}
