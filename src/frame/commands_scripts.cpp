// The script windows (create, view, execute) and the Compare window behind
// their ids. Port fields are asked with the labelled entry form; file names
// come from the windows' file selection boxes.
#include "frame/commands.h"
#include "ops/compare.h"
#include "ops/script_crt.h"
#include "ops/script_exe.h"
#include "ops/script_file.h"
#include "ui/app_globals.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

namespace {

constexpr int CRT_TEXT = 362, CRT_CREATE = 359, VIEW_FSB = 401, VIEW_TEXT = 403, VIEW_BTN = 404,
              EXE_FSB = 411, EXE_TEXT = 417, EXE_BTN = 413, CMP_FSB1 = 214, CMP_FSB2 = 218,
              CMP_TEXT = 225, CMP_BTN = 220;
constexpr int cmp_kind_tb[] = {202, 203, 204};
struct CmpPortTb {
    int id, port_type;
};
constexpr CmpPortTb cmp_port_tb[] = {{210, 1}, {211, 2}, {212, 3}, {226, 4},
                                     {227, 5}, {228, 8}, {744, 6}};

ScrCrtState crt_state;

// The port dialog: one field per kind that is needed.
bool ask_ports(int parent, const ScrKinds& kinds, std::array<std::string, SK_COUNT>* texts) {
    std::vector<std::string> labels, values;
    std::vector<int> kind_of;
    for (int k = SK_ASY; k < SK_COUNT; ++k)
        if (kinds[k]) {
            labels.push_back(scr_kind_keyword(k));
            values.push_back((*texts)[k]);
            kind_of.push_back(k);
        }
    if (display_prompt(parent, "Port Numbers", labels, &values) != ASK_OK)
        return false;
    for (size_t i = 0; i < kind_of.size(); ++i)
        (*texts)[kind_of[i]] = values[i];
    return true;
}

void script_create() {
    ScrCrtOptions opt;
    opt.selected = ui_get_toggle(352) || ui_get_toggle(353);
    opt.all = ui_get_toggle(354);
    opt.wildcard = ui_get_toggle(355);
    if (!process_scr_crt(opt, W_CRT_FORM_ID, &crt_state))
        return;
    if (crt_state.port_dialog) {
        std::array<std::string, SK_COUNT> texts{};
        if (!ask_ports(W_CRT_FORM_ID, crt_state.kinds, &texts) ||
            !process_scr_crt_prt(&crt_state, texts, W_CRT_FORM_ID))
            return;
    }
    ui_file_selection(W_CRT_FORM_ID, "Script File Selection", mm_path(SCR_DIR),
                      [](const std::string& typed) {
                          return create_scr_proc(&crt_state, typed, CRT_TEXT, W_CRT_FORM_ID);
                      },
                      "");
}

void compare() {
    CmpRequest req;
    for (int k = 0; k < 3; ++k)
        if (ui_get_toggle(cmp_kind_tb[k]))
            req.kind = k + 1;
    for (const CmpPortTb& p : cmp_port_tb)
        if (ui_get_toggle(p.id))
            req.port_type = p.port_type;
    std::vector<std::string> names = ui_list_selected_items(W_MRX_LIST);
    for (std::string& n : names)
        n = n.substr(0, n.find(' '));
    req.mrx1 = names.empty() ? "" : names[0];
    req.mrx2 = names.size() > 1 ? names[1] : req.mrx1;
    req.code = ui_get_toggle(229) || ui_get_toggle(230) ? 1 : 2;
    req.ports1 = req.ports2 = ui_get_text(W_PORT_TF);
    req.file1 = ui_get_text(req.kind == CMP_MRX_FIL ? CMP_FSB2 : CMP_FSB1);
    req.file2 = ui_get_text(CMP_FSB2);
    int diffs = process_compare(req, CMP_TEXT, W_CMP_FORM_ID);
    if (diffs > 0 &&
        ask_user(W_CMP_FORM_ID, "Differences", "Save", "Close", 0,
                 "Save the differences as a script?") == ASK_OK)
        ui_file_selection(W_CMP_FORM_ID, "Script File Selection", mm_path(SCR_DIR),
                          [](const std::string& typed) {
                              return save_cmp_diff_script(typed, CMP_TEXT, W_CMP_FORM_ID) == 0;
                          },
                          "");
}

} // namespace

int scripts_window_action(int id) {
    switch (id) {
    case CRT_CREATE:
        script_create();
        return 1;
    case VIEW_BTN:
        process_scr_view(ui_get_text(VIEW_FSB), VIEW_TEXT, W_VIEW_FORM_ID, W_VIEW_FORM_ID);
        return 1;
    case EXE_BTN:
        process_scr_exe(ui_get_text(EXE_FSB), EXE_TEXT, W_EXE_FORM_ID,
                        [](const ScrKinds& wild, std::array<std::string, SK_COUNT>* texts) {
                            return ask_ports(W_EXE_FORM_ID, wild, texts);
                        });
        return 1;
    case CMP_BTN:
        compare();
        return 1;
    default:
        for (int tb : cmp_kind_tb)
            if (tb == id) {
                ui_set_sensitive(CMP_FSB1, !ui_get_toggle(202));
                ui_set_sensitive(CMP_FSB2, !ui_get_toggle(202));
                return 1;
            }
        return 0;
    }
}
