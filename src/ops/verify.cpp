// The pieces of a safe change: the Get copies of a Set chain (the read of
// what it overwrites and the read-back of what it wrote, cut into chunks by
// the request engine like the Set itself), the undo line of a value read,
// and the comparison of what was sent with what reads back.
#include <arpa/inet.h>

#include <cerrno>
#include <cstdlib>

#include "catalogue/mib_catalogue.h"
#include "ops/script_file.h"
#include "ops/undo.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "snmp_access/snmp_values.h"

namespace {

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

} // namespace

std::string node_where(const ParamNode* n) {
    const MibVarEntry* e = mib_var(n->mib_index);
    std::string name = e ? e->name : std::string();
    if (n->port_type == 0)
        return name;
    std::string kw = "internal modem";
    if (n->port_type != PT_IMDM)
        cvt_port_opt_str(n->port_type, &kw);
    return name + " (" + kw + " port " + std::to_string(n->port_num) + ")";
}

MorixRecordPtr set_read_copy(const MorixRecord* rec, bool accepted_only) {
    return get_copy(rec, accepted_only);
}

UndoLine undo_line(const ParamNode* n) {
    UndoLine out;
    const MibVarEntry* e = mib_var(n->mib_index);
    if (!e) {
        out.left_out = ": not in the catalogue";
        return out;
    }
    if (n->status != NS_OK) {
        out.left_out = ": could not be read";
        out.unread = true;
        return out;
    }
    if (!scriptable(n->port_type)) {
        out.left_out = ": a script cannot set this port type";
        return out;
    }
    std::string kw;
    cvt_port_opt_str(n->port_type, &kw);
    std::string value = n->value;
    bool enum_ok = e->enum_id == -1 || cvt_enum_num_str(n->mib_index, n->value, &value);
    std::optional<std::string> line;
    if (enum_ok)
        line =
            format_script_line(e->name, kw, std::to_string(n->port_type ? n->port_num : 0), value);
    if (line)
        out.line = *line;
    else
        out.left_out = ": its value cannot be written back";
    return out;
}

namespace {} // namespace

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

namespace {

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
