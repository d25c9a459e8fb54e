// Sending one device's Set chain safely: the read of what it overwrites
// (kept as an undo script), the Set, and the read-back of what it wrote.
// Both reads are Gets of exactly the Set's variables and instances, cut
// into chunks by the request engine like the Set itself.
#include <arpa/inet.h>

#include <cerrno>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "ops/script_file.h"
#include "ops/undo.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"
#include "ui/ui.h"

namespace {

// "NAME" or "NAME (kw port N)" of a node.
std::string node_where(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    std::string name = e ? e->name : std::string();
    if (n->port_type == 0)
        return name;
    std::string kw;
    cvt_port_opt_str(n->port_type, &kw);
    return name + " (" + kw + " port " + std::to_string(n->port_num) + ")";
}

// A value as the operator reads it: the enumeration name where there is
// one, "" shown as two double quotes.
std::string shown(int mib_index, const std::string& value) {
    std::string name;
    if (mib_var(mib_index) && mib_var(mib_index)->enum_id != -1 &&
        cvt_enum_num_str(mib_index, value, &name))
        return name;
    return value.empty() ? "\"\"" : value;
}

// A Get record for the same device: the chosen nodes of rec, without values.
MorixRecordPtr get_copy(const MorixRecord* rec, bool accepted_only) {
    MorixRecordPtr g = new_host_node();
    cpy_host_node(g.get(), rec);
    free_prm_list(g.get());
    for (const ParamNode* n = rec->prm_list; n; n = n->next)
        if (!accepted_only || n->status == NS_OK)
            add_prm_node(g.get(), n->mib_index, n->port_type, n->port_num, n->instance,
                         n->inst_str.c_str(), "", 0);
    return g;
}

// Port types script execution applies (the others cannot be restored).
bool scriptable(int port_type) {
    return port_type == PT_NONE || port_type == PT_ASY || port_type == PT_SYN ||
           port_type == PT_PTR || port_type == PT_EN || port_type == PT_DS1INF ||
           port_type == PT_DS0CHAN;
}

// The undo script of the values read; nodes it cannot hold go to left_out.
std::string undo_content(const MorixRecord* got, std::vector<std::string>* left_out) {
    std::string content = script_header();
    content += "# Undo script of " + got->name + ": the values it held before a change.\n";
    for (const ParamNode* n = got->prm_list; n; n = n->next) {
        const MibVarEntry* e = mib_var(n->mib_index);
        if (!e)
            continue;
        std::string kw;
        cvt_port_opt_str(n->port_type, &kw);
        std::string value = n->value;
        bool enum_ok = e->enum_id == -1 || cvt_enum_num_str(n->mib_index, n->value, &value);
        std::optional<std::string> line;
        if (n->status == NS_OK && enum_ok && scriptable(n->port_type))
            line = format_script_line(e->name, kw, std::to_string(n->port_type ? n->port_num : 0),
                                      value);
        if (line)
            content += *line + "\n";
        else
            left_out->push_back(node_where(n) + (n->status != NS_OK ? ": could not be read"
                                                 : !scriptable(n->port_type)
                                                     ? ": a script cannot set this port type"
                                                     : ": its value cannot be written back"));
    }
    return content;
}

// Keeps what the Set will overwrite, read into got; false when nothing may
// be sent.
bool keep_undo(const MorixRecord* rec, const MorixRecord* got, SafeSet* out) {
    if (got->status != SR_OK) {
        out->refusal = "<" + rec->name +
                       ">  Nothing was set: the current values could not be read for the "
                       "undo script.";
        return false;
    }
    std::string reason;
    if (write_undo_script(rec->name, undo_content(got, &out->left_out), UNDO_KEEP, &out->undo_path,
                          &reason) != 0) {
        out->refusal = "<" + rec->name + ">  Nothing was set: the undo script could not be " +
                       "written (" + reason + ").";
        return false;
    }
    return true;
}

// Lists the accepted nodes of rec that the read-back back does not hold.
void compare_back(const MorixRecord* rec, const MorixRecord* back, SafeSet* out) {
    const ParamNode* sent = rec->prm_list;
    for (const ParamNode* n = back->prm_list; n; n = n->next) {
        while (sent && sent->status != NS_OK)
            sent = sent->next;
        if (!sent)
            break;
        std::string prefix = "<" + rec->name + "> Verify: " + node_where(sent);
        if (back->status != SR_OK || n->status != NS_OK)
            out->not_taken.push_back(prefix + " could not be read back.");
        else if (!set_value_held(sent->mib_index, sent->value, n->value))
            out->not_taken.push_back(prefix + " reads " + shown(n->mib_index, n->value) + ", not " +
                                     shown(sent->mib_index, sent->value));
        sent = sent->next;
    }
}

// A complete decimal number (blanks around it and a sign allowed).
bool parse_number(const std::string& text, long long* out) {
    const char* p = text.c_str();
    char* end = nullptr;
    errno = 0;
    *out = std::strtoll(p, &end, 10);
    if (end == p || errno != 0)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' && text.find_first_not_of(" \t") != std::string::npos;
}

} // namespace

bool set_value_held(int mib_index, const std::string& sent, const std::string& read) {
    const MibVarEntry* e = mib_var(mib_index);
    if (!e)
        return sent == read;
    if (e->enum_id != -1 || is_number_data_type(e->data_type)) {
        long long a = 0, b = 0;
        return parse_number(sent, &a) && parse_number(read, &b) ? a == b : sent == read;
    }
    if (e->data_type == MDT_IP_ADDR) {
        std::string a = sent, b = read;
        in_addr x{}, y{};
        if (check_ip_addr_fmt(&a) && check_ip_addr_fmt(&b) &&
            inet_pton(AF_INET, a.c_str(), &x) == 1 && inet_pton(AF_INET, b.c_str(), &y) == 1)
            return x.s_addr == y.s_addr;
        return sent == read;
    }
    if (e->data_type == MDT_OBJID) {
        auto bare = [](const std::string& s) { return s.empty() || s[0] != '.' ? s : s.substr(1); };
        return bare(sent) == bare(read);
    }
    return sent == read;
}

std::vector<char> safe_set_send_many(const std::vector<MorixRecord*>& recs,
                                     const std::string& label, std::vector<SafeSet>* out) {
    size_t n = recs.size();
    out->assign(n, SafeSet{});
    // What the Sets will overwrite, read from every device at once.
    std::vector<MorixRecordPtr> got(n);
    std::vector<MorixRecord*> reads(n, nullptr);
    for (size_t i = 0; i < n; ++i)
        if (recs[i]->prm_list) {
            got[i] = get_copy(recs[i], false);
            reads[i] = got[i].get();
        }
    std::vector<char> read = mm_snmp_all(reads, SNMP_OP_GET, "Reading current values");
    // The Sets of the devices whose undo script is kept.
    std::vector<MorixRecord*> sets(n, nullptr);
    for (size_t i = 0; i < n; ++i) {
        if (!reads[i])
            continue;
        if (read[i] && !g_cancel_process && keep_undo(recs[i], reads[i], &(*out)[i])) {
            sets[i] = recs[i];
            continue;
        }
        (*out)[i].refused = !(*out)[i].refusal.empty();
        recs[i]->status = SR_CANCELLED; // never sent
    }
    std::vector<char> sent = mm_snmp_all(sets, SNMP_OP_SET, label);
    if (g_cancel_process)
        return sent;
    // The accepted values read back from every device the Set reached.
    std::vector<MorixRecordPtr> back(n);
    std::vector<MorixRecord*> backs(n, nullptr);
    for (size_t i = 0; i < n; ++i)
        if (sets[i] && recs[i]->status == SR_OK) {
            back[i] = get_copy(recs[i], true);
            backs[i] = back[i]->prm_list ? back[i].get() : nullptr;
        }
    mm_snmp_all(backs, SNMP_OP_GET, "Reading back values");
    if (g_cancel_process)
        return sent;
    for (size_t i = 0; i < n; ++i)
        if (backs[i])
            compare_back(recs[i], backs[i], &(*out)[i]);
    return sent;
}

void safe_set_send(MorixRecord* rec, SafeSet* out) {
    std::vector<SafeSet> one;
    safe_set_send_many({rec}, "", &one);
    *out = one[0];
}

int safe_set_report(const MorixRecord* rec, const SafeSet& s, std::string* text) {
    if (s.refused) {
        *text += s.refusal + "\n";
        return 1;
    }
    if (!s.undo_path.empty())
        *text += "<" + rec->name + ">  Undo script: " + s.undo_path + "\n";
    for (const std::string& l : s.left_out)
        *text += "<" + rec->name + ">  Not in the undo script: " + l + "\n";
    for (const std::string& l : s.not_taken)
        *text += l + "\n";
    return s.not_taken.empty() ? 0 : 1;
}
