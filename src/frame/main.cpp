// gui_mm: the Morix Manager program.
#include "frame/motif_internal.h"

int main(int argc, char** argv) {
    return gui_main(argc, argv);
}
