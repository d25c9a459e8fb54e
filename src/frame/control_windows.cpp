#include "frame/control_windows.h"

#include <array>

#include "devices/mrx_select.h"
#include "frame/commands.h"
#include "frame/render.h"
#include "frame/window_asker.h"
#include "ops/control.h"
#include "ops/reset_mask.h"
#include "ui/ui.h"

namespace {

// The dialog's fields in boot_set_vars order.
const int boot_field_ids[BOOT_FIELDS] = {W_BOOT_LOAD_TF,  W_BOOT_DUMP_TF, W_BOOT_GW_TF,
                                         W_BOOT_IMAGE_TF, W_BOOT_TIME_TF, W_BOOT_MSG_TF};

// The addresses as the dialog was filled: only a changed one is sent.
std::array<std::string, BOOT_ADDRESSES> shown_addresses;
// Whether the flash options are offered to the devices of the dialog.
bool flash_offered = false;

constexpr const char* MSG_BOOT_CANCELLED =
    "The boot operation was cancelled in progress.\nUse 'Morix Status' in the Status menu to see "
    "the current state of selected Morixes.";
constexpr const char* MSG_BOOT_STATE =
    "\n\nUse 'Morix Status' in the Status menu\nto determine the current state of a Morix.";

void apply_option_fields() {
    for (int f = 0; f < BOOT_FIELDS; ++f)
        ui_set_sensitive(boot_field_ids[f], boot_field_enabled(boot_ind, f));
}

void select_option(int option) {
    boot_ind = option;
    for (int o = 1; o <= BOOT_OPTIONS; ++o)
        ui_set_toggle(W_BOOT_OPT_FIRST + o - 1, o == option, false);
    apply_option_fields();
}

void show_addresses(const std::array<std::string, BOOT_ADDRESSES>& addresses) {
    for (int f = 0; f < BOOT_ADDRESSES; ++f) {
        ui_set_text(boot_field_ids[f], addresses[f]);
        shown_addresses[f] = addresses[f];
    }
}

// The dialog filled from what the devices hold: the addresses, the image
// name, and the flash options only when every device can boot from flash.
void fill_boot_dialog(const BootValues& v) {
    show_addresses(v.addresses);
    if (!v.image.empty())
        ui_set_text(W_BOOT_IMAGE_TF, v.image);
    flash_offered = v.flash;
    for (int o = 1; o <= BOOT_OPTIONS; ++o)
        if (is_flash_option(o))
            ui_set_sensitive(W_BOOT_OPT_FIRST + o - 1, v.flash);
    if (is_flash_option(boot_ind) && !v.flash)
        select_option(1);
}

void render_boot(const BootOutcome& b) {
    if (b.refreshed)
        show_addresses(b.values.addresses);
    render_outcome(b.outcome, OutputArea{W_BOOT_DIALOG});
    if (b.cancelled_in == 2)
        display_warn(W_BOOT_DIALOG, MSG_BOOT_CANCELLED);
    // A success is news, not a warning: it comes in a message box.
    if (!b.outcome.report.empty())
        display_msg_box(W_BOOT_DIALOG, "Boot Message", b.outcome.report + MSG_BOOT_STATE);
}

// The warnings of a control command, then the devices that took it.
void render_control(const Outcome& o, int window) {
    render_outcome(o, OutputArea{window});
    if (!o.report.empty())
        display_msg(window, o.report);
}

// The Reset window's request: the option chosen, its port type and the
// numbers typed.
ResetRequest reset_window_request() {
    ResetRequest req;
    req.devices = selected_reachable();
    req.code = reset_ind;
    req.port_type = reset_port_type;
    req.ports = ui_get_text(W_RST_PORT_TF);
    return req;
}

int run_reset_over(int code, const std::vector<int>& ports, int parent,
                   const std::string& failed_text) {
    Outcome o = reset_send(selected_reachable(), code, reset_port_type, ports, false, parent);
    if (parent == W_RST_FORM)
        render_control(o, parent);
    else
        render_outcome(o, OutputArea{parent});
    bool ok = o.result == Result::done;
    if (!ok && !failed_text.empty())
        display_warn(parent, failed_text);
    return ok ? 1 : 0;
}

} // namespace

int cmd_boot(int) {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return 1;
    ui_fetch_dialog("boot_dialog", W_BOOT_DIALOG);
    ui_set_text(W_BOOT_TIME_TF, "");
    ui_set_text(W_BOOT_MSG_TF, "");
    select_option(boot_ind);
    ui_manage(W_BOOT_DIALOG);
    show_addresses({});
    BootRead read = read_boot_values(selected_reachable());
    if (read.outcome.result == Result::done)
        fill_boot_dialog(read.values);
    render_outcome(read.outcome, OutputArea{W_BOOT_DIALOG});
    return 1;
}

int cmd_boot_option(int id) {
    int option = id - W_BOOT_OPT_FIRST + 1;
    if (option < 1 || option > BOOT_OPTIONS)
        return 0;
    if (ui_get_toggle(id)) {
        boot_ind = option;
        apply_option_fields();
    }
    return 1;
}

int cmd_boot_apply(int) {
    if (!check_main_sel(W_BOOT_DIALOG, SEL_REACHABLE))
        return 1;
    BootRequest req;
    req.devices = selected_reachable();
    req.option = boot_ind;
    for (int f = 0; f < BOOT_FIELDS; ++f)
        req.fields[f] = ui_get_text(boot_field_ids[f]);
    req.shown = shown_addresses;
    WindowAsker asker(W_BOOT_DIALOG);
    render_boot(process_boot(req, asker));
    return 1;
}

bool boot_option_offered(int option) {
    return option >= 1 && option <= BOOT_OPTIONS && (!is_flash_option(option) || flash_offered);
}

// Reset: the numbers checked, then the operator's confirmation sends it.
int cmd_reset(int) {
    if (!check_main_sel(W_RST_FORM, SEL_REACHABLE))
        return 1;
    WindowAsker asker(W_RST_FORM);
    render_control(process_reset(reset_window_request(), asker), W_RST_FORM);
    return 1;
}

int cmd_bcast(int) {
    if (!check_main_sel(W_BCAST_FORM, SEL_REACHABLE))
        return 1;
    BcastRequest req;
    req.devices = selected_reachable();
    req.option = bcast_ind;
    req.text = ui_get_text(W_BCAST_TEXT);
    render_control(process_bcast(req), W_BCAST_FORM);
    return 1;
}

int cmd_bcast_option(int id) {
    int option = id - W_BCAST_OPT_FIRST + 1;
    if (option < 1 || option > 3)
        return 0;
    if (ui_get_toggle(id))
        bcast_ind = option;
    return 1;
}

void register_reset_command() {
    g_reset_runner = run_reset_over;
}
