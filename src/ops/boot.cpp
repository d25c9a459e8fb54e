// Boot: the current boot parameters of the devices, the boot options and
// the two SET passes of a boot.
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/widget_ids.h"

int boot_ind = 1;

namespace {

constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
constexpr const char* MSG_UNCOMMON =
    "One or more boot parameters could not be obtained or had\ndifferent values. The current "
    "load address, dump address, and default image name for\neach Morix will be used if you do "
    "not enter new values.";

enum BootGet { BG_LOAD, BG_DUMP, BG_GW, BG_SEQ, BG_IMAGE, BG_FLASH, BG_COUNT };
const char* const boot_get_vars[BG_COUNT] = {"mrxPrefLoadAddr",    "mrxPrefDumpAddr",
                                             "mrxLoadDumpGateway", "mrxLoadDumpSeq",
                                             "imageName",          "flashSize"};

// The fields in boot_set_vars order and how each value is taken.
enum FieldKind { FK_ADDR, FK_TIME, FK_ALWAYS };
struct BootField {
    const char* var;
    FieldKind kind;
    const char* label;
};
const BootField boot_fields[BOOT_FIELDS] = {{"mrxPrefLoadAddr", FK_ADDR, "Pref Load Addr"},
                                            {"mrxPrefDumpAddr", FK_ADDR, "Pref Dump Addr"},
                                            {"mrxLoadDumpGateway", FK_ADDR, "Load/Dump Gateway"},
                                            {"mrxcBootImage", FK_ALWAYS, ""},
                                            {"mrxcBootTime", FK_TIME, ""},
                                            {"mrxcBootMsg", FK_ALWAYS, ""}};

// Editable fields per option: load, dump, gateway, image, time, message.
// Boots that load from the host take the host fields and the image; only
// a timed boot takes a time; cancelling a timed boot, booting from flash
// and shutting down take only the message to the users.
const bool boot_field_table[BOOT_OPTIONS][BOOT_FIELDS] = {
    {1, 1, 1, 1, 0, 1}, // 1 boot now
    {1, 1, 1, 1, 1, 1}, // 2 timed boot
    {0, 0, 0, 0, 0, 1}, // 3 cancel a timed boot
    {1, 1, 1, 1, 0, 1}, // 4 dump and boot
    {0, 0, 0, 0, 0, 1}, // 5 boot from flash
    {1, 0, 1, 1, 0, 1}, // 6 load the image into flash
    {0, 0, 0, 0, 0, 1}, // 7 shut down
};

// The node value of a variable on a device, or nullptr when it has none.
const ParamNode* answer(const MorixRecord* r, int mib_index) {
    if (r->status != SR_OK)
        return nullptr;
    for (const ParamNode* n = r->prm_list; n; n = n->next)
        if (n->mib_index == mib_index)
            return n->status == NS_OK ? n : nullptr;
    return nullptr;
}

// The SET values of the request, or false (and the reasons) when a changed
// address is malformed.
bool boot_values(const BootRequest& req, std::vector<std::pair<int, std::string>>* values,
                 std::string* errors) {
    for (int f = 0; f < BOOT_FIELDS; ++f) {
        const BootField& b = boot_fields[f];
        if (!boot_field_enabled(req.option, f))
            continue;
        std::string text = req.fields[f];
        if (b.kind == FK_ADDR && text == req.shown[f])
            continue;
        if (b.kind == FK_TIME && text.empty())
            continue;
        std::string failure = b.kind == FK_ADDR ? ip_addr_fmt_failure(&text, b.label) : "";
        if (!failure.empty()) {
            if (errors->empty())
                *errors = "Boot aborted due to:\n";
            *errors += failure + "\n";
            continue;
        }
        int id = 0;
        if (!get_check_mib_var(b.var, &id)) {
            *errors = MSG_NO_REFS;
            return false;
        }
        values->push_back({id, text});
    }
    return errors->empty();
}

// One SET per device that has a chain; failed devices are recorded.
// Returns whether the pass was cancelled.
bool set_pass(const std::vector<MorixRecord*>& devs, const char* label, bool timeout_ok,
              std::vector<MorixRecord*>* failed) {
    LongOperation op(W_BOOT_DIALOG, "Cancel Boot", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    for (MorixRecord* r : op.serve(devs, SNMP_OP_SET, label)) {
        bool ok = control_sent_ok(r) || (timeout_ok && r->status == SR_TIMEOUT);
        if (!ok)
            failed->push_back(r);
    }
    return op.close();
}

bool contains(const std::vector<MorixRecord*>& v, const MorixRecord* r) {
    for (const MorixRecord* x : v)
        if (x == r)
            return true;
    return false;
}

void free_chains(const std::vector<MorixRecord*>& devs) {
    for (MorixRecord* r : devs)
        free_prm_list(r);
}

// The refusals, the failures and the devices that took the boot.
void boot_report(const std::vector<MorixRecord*>& devs, const std::vector<MorixRecord*>& failed,
                 Outcome* o) {
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            o->warnings.push_back(refuses_sets_warning(r));
    if (!failed.empty()) {
        o->warnings.push_back("The boot failed for the following Morixes\n(check the "
                              "value of the allow_snmp_sets parameter):");
        for (MorixRecord* r : failed)
            o->warnings.push_back(r->name);
    }
    std::string booted;
    for (MorixRecord* r : devs)
        if (r->allow_set && !contains(failed, r))
            booted += "\n" + r->name;
    if (!booted.empty())
        o->report = "The boot operation was successful for: " + booted;
}

// A request the boot refuses before asking: the reason, or "".
std::string boot_refusal(const BootRequest& req) {
    if (req.option == 2) {
        std::string t = req.fields[BF_TIME];
        if (strip_blanks(&t).empty())
            return "You did not enter a boot time.";
        if (!check_time_fmt(t))
            return "Boot time is invalid. Please enter time in the following formats:\n'hh:mm' "
                   "or '+hh:mm' or '+mm'.";
    }
    if (req.option < 1 || req.option > BOOT_OPTIONS)
        return "Invalid boot indicator. Software error.";
    return "";
}

BootOutcome boot_stop(Result result, const std::string& warning) {
    BootOutcome b;
    b.outcome.result = result;
    b.outcome.warnings.push_back(warning);
    return b;
}

// Sets the boot values, then the boot option, on the devices.
BootOutcome boot_proc(const BootRequest& req) {
    const std::vector<MorixRecord*>& devs = req.devices;
    settable_many(devs);
    std::vector<std::pair<int, std::string>> values;
    std::string errors;
    if (!boot_values(req, &values, &errors))
        return boot_stop(Result::refused, errors);
    int boot_id = 0;
    if (!get_check_mib_var("mrxcBoot", &boot_id))
        return boot_stop(Result::failed, MSG_NO_REFS);
    BootOutcome b;
    Outcome& o = b.outcome;
    std::vector<MorixRecord*> failed;
    LongOperation busy;
    busy.busy();
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        if (r->allow_set)
            for (const auto& v : values)
                add_prm_node(r, v.first, 0, 0, 0, "", v.second.c_str(), 0);
    }
    bool cancelled = set_pass(devs, "Setting boot parameters for", false, &failed);
    free_chains(devs);
    o.devices = control_outcomes(devs, failed, cancelled, "the boot");
    if (cancelled) {
        busy.idle();
        b.cancelled_in = 1;
        o.result = Result::cancelled;
        o.warnings.push_back("The boot operation was cancelled in progress.\nNo "
                             "Morixes have been rebooted.");
        return b;
    }
    BootRead again = read_boot_values(devs);
    b.refreshed = again.outcome.result == Result::done;
    b.values = again.values;
    for (MorixRecord* r : devs)
        if (r->allow_set && !contains(failed, r))
            add_prm_node(r, boot_id, 0, 0, 0, "", std::to_string(req.option).c_str(), 0);
    cancelled = set_pass(devs, "Booting", true, &failed);
    free_chains(devs);
    busy.idle();
    o.devices = control_outcomes(devs, failed, cancelled, "the boot");
    if (cancelled) {
        b.cancelled_in = 2;
        o.result = Result::cancelled;
        return b;
    }
    boot_report(devs, failed, &o);
    bool all_took = failed.size() < devs.size();
    for (MorixRecord* r : devs)
        all_took = all_took && r->allow_set;
    o.result = all_took && failed.empty() ? Result::done : Result::failed;
    return b;
}

} // namespace

bool boot_field_enabled(int option, int f) {
    if (option < 1 || option > BOOT_OPTIONS || f < 0 || f >= BOOT_FIELDS)
        return false;
    return boot_field_table[option - 1][f];
}

bool is_flash_option(int option) {
    return option == 5 || option == 6;
}

BootRead read_boot_values(const std::vector<MorixRecord*>& devs) {
    BootRead read;
    int ids[BG_COUNT];
    for (int v = 0; v < BG_COUNT; ++v) {
        if (!get_check_mib_var(boot_get_vars[v], &ids[v])) {
            read.outcome.result = Result::failed;
            read.outcome.warnings.push_back(MSG_NO_REFS);
            return read;
        }
    }
    LongOperation busy;
    busy.busy(true);
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        for (int v = 0; v < BG_COUNT; ++v)
            add_prm_node(r, ids[v], 0, 0, 0, "", "", 0);
    }
    mm_snmp_all(devs, SNMP_OP_GET, "");
    bool uncommon = false, flash = !devs.empty();
    for (int v = 0; v < BG_COUNT; ++v) {
        const ParamNode* first = nullptr;
        bool common = true;
        for (MorixRecord* r : devs) {
            const ParamNode* n = answer(r, ids[v]);
            if (v == BG_FLASH)
                flash = flash && n && std::atol(n->value.c_str()) >= 1;
            if (v == BG_SEQ)
                flash = flash && (!n || n->value != "self");
            if (!n || (first && n->value != first->value))
                common = false;
            if (!first)
                first = n;
        }
        // Flash sizes differ between models; only whether there is flash counts.
        if (v == BG_FLASH)
            continue;
        uncommon = uncommon || !common;
        if (!common || !first)
            continue;
        if (v <= BG_GW)
            read.values.addresses[v] = first->value;
        else if (v == BG_IMAGE)
            read.values.image = first->value;
    }
    read.values.flash = flash;
    free_chains(devs);
    if (uncommon)
        read.outcome.warnings.push_back(MSG_UNCOMMON);
    return read;
}

BootOutcome process_boot(const BootRequest& req, Asker& asker) {
    std::string refusal = boot_refusal(req);
    if (!refusal.empty())
        return boot_stop(Result::refused, refusal);
    if (!asker.ask(control_question(
            "The selected boot option will take place for the following Morixes:", req.devices))) {
        BootOutcome b;
        b.outcome.result = Result::cancelled;
        b.outcome.devices = declined_outcomes(req.devices, "the boot");
        return b;
    }
    return boot_proc(req);
}
