// Fallback X resources: the monochrome scheme (gui_mm_mono), the colour
// scheme (gui_mm_color) and fonts, geometry and behaviour (gui_mm_exe).
// The program's class is gui_mm_exe; its name picks the colour scheme.
#include "frame/fallback_resources.h"

namespace {

#define MM_HOTSPOTS(scheme, colour)                                                                \
    scheme "*conf_sport_hotspot.background: " colour,                                              \
        scheme "*a_aport_hotspot.background: " colour,                                             \
        scheme "*conf_aport_hotspot.background: " colour,                                          \
        scheme "*a_gen_hotspot.background: " colour,                                               \
        scheme "*edit_modem_hotspot.background: " colour,                                          \
        scheme "*gen_main_hotspot.background: " colour

const char* fallback[] = {
    // monochrome
    "gui_mm_mono*background: white", "gui_mm_mono*foreground: black",
    "gui_mm_mono*selectColor: black", "gui_mm_mono*XmText*background: white",
    "gui_mm_mono*XmTextField*background: white", "gui_mm_mono*XmList*background: white",
    "gui_mm_mono*highlightColor: black", MM_HOTSPOTS("gui_mm_mono", "black"),
    "gui_mm_mono*XmText.hotspot*highlightColor: black",
    // colour
    "gui_mm_color*background: lightseagreen", "gui_mm_color*foreground: black",
    "gui_mm_color*XmText*background: wheat2", "gui_mm_color*XmTextField*background: wheat2",
    "gui_mm_color*XmList*background: wheat2", "gui_mm_color*XmPushButton*background: burlywood",
    "gui_mm_color*XmPushButtonGadget*background: burlywood",
    "gui_mm_color*auto_reset_tb*background: burlywood",
    "gui_mm_color*customize_tb*background: burlywood", "gui_mm_color*disc_cb*background: burlywood",
    "gui_mm_color*pri_stat_cb*background: burlywood",
    "gui_mm_color*t1_stat_cb*background: burlywood",
    "gui_mm_color*script_menu*background: burlywood", "gui_mm_color*selectColor: red",
    "gui_mm_color*XmScrollBar*troughColor: darkslategray",
    "gui_mm_color*menu_bar*background: burlywood", "gui_mm_color*XmMenuShell*background: burlywood",
    MM_HOTSPOTS("gui_mm_color", "lightseagreen"),
    "gui_mm_color*XmText.*hotspot.topShadowPixmap: NULL",
    "gui_mm_color*XmText.*hotspot.bottomShadowPixmap: NULL",
    "gui_mm_color*XmText.*hotspot.highlightPixmap: XmUNSPECIFIED_PIXMAP",
    // fonts, frames and behaviour
    "gui_mm_exe*fontList: fixed", "gui_mm_exe*XmLabel*fontList: 9x15bold",
    "gui_mm_exe*XmLabelGadget*fontList: 9x15bold", "gui_mm_exe*XmPushButton*fontList: 9x15bold",
    "gui_mm_exe*XmPushButtonGadget*fontList: 9x15bold",
    "gui_mm_exe*XmCascadeButton*fontList: 9x15bold",
    "gui_mm_exe*XmCascadeButtonGadget*fontList: 9x15bold",
    "gui_mm_exe*XmOptionMenu*fontList: 8x13bold", "gui_mm_exe*XmToggleButton*fontList: 6x13bold",
    "gui_mm_exe*XmToggleButtonGadget*fontList: 6x13bold", "gui_mm_exe*XmList*fontList: 6x13bold",
    "gui_mm_exe*XmTextField*fontList: 6x13bold", "gui_mm_exe*XmText*fontList: fixed",
    "gui_mm_exe*XmMessageBox*fontList: 8x13bold",
    "gui_mm_exe*XmFileSelectionBox*fontList: 6x13bold", "gui_mm_exe*init_fd*fontList: 8x13bold",
    "gui_mm_exe*shadowThickness: 2", "gui_mm_exe*shadowType: shadow_in",
    "gui_mm_exe*XmForm.shadowThickness: 0", "gui_mm_exe*XmForm.borderWidth: 0",
    "gui_mm_exe*XmMainWindow.shadowThickness: 0", "gui_mm_exe*XmToggleButton.shadowThickness: 0",
    "gui_mm_exe*XmToggleButton.borderWidth: 0", "gui_mm_exe.title: Morix Manager",
    "gui_mm_exe.iconName: M.M.", "gui_mm_exe.geometry: 425x560", "gui_mm_exe.x: 10",
    "gui_mm_exe.y: 10", "gui_mm_exe*dragInitiatorProtocolStyle: DRAG_NONE",
    "gui_mm_exe*dragReceiverProtocolStyle: DRAG_NONE", "gui_mm_exe*TopLevelShell*mwmFunctions: 30",
    "gui_mm_exe*XmOptionMenu.labelString: ", nullptr};

} // namespace

char** fallback_resources() {
    return const_cast<char**>(fallback);
}
