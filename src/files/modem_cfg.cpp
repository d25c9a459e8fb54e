// Modem definitions: lists, the line parser, the file parsers and the
// writer of the modem section.
#include "files/modem_cfg.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "catalogue/line_scan.h"
#include "ui/diag.h"

const char* const mdm_keywords[MDM_KW_COUNT] = {
    "type_of_modem",     "ready_status",    "connect_status",
    "reset_cmd",         "connect_abort",   "dialin_setup_cmd",
    "dialout_setup_cmd", "modem_setup_cmd", "setup_cmd",
    "connect_ignore",    "connect_retry",   "dial_cmd",
    "timeout",           "retry",           "reset_delay",
    "dtr_down_time",     "answer_cmd",      "end"};

const char* const MPM_UNKNOWN_KW = "unknown keyword ignored";
const char* const MPM_MISSING_END = "missing end statement";
const char* const MPM_SYNTAX = "modem syntax error";
const char* const MPM_LENGTH = "invalid string length";
const char* const MPM_MEMORY = "memory allocation failed";
const char* const MPM_MISSING_TYPE = "missing modem type";

namespace {

// Default values of keywords 1..16: async port window, basic dial window.
struct KwDefault {
    const char* async_value;
    const char* dial_value;
};
const KwDefault kw_defaults[MDM_KW_COUNT] = {
    {nullptr, nullptr},
    {"0", "0"},
    {"1 5 10 13 18 20 21 25 43 47 85 91", "1 5 9 10 11 30 32 34 36 40 44 60 62 64 66 68"},
    {"ATZ", "ATZ"},
    {"4 6", "4 6"},
    {"ATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=1", "ATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=1"},
    {"ATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=0", "ATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=0"},
    {"", ""},
    {"ATE1M0Q2V0W2&C1&D2&K3&Q5S7=60", "ATE1M0Q2V0W2&C1&D2&K3&Q5S7=60"},
    {"2", "2"},
    {"3 7 8", "3 7 8"},
    {"ATDT", "ATDT"},
    {"90", "90"},
    {"2", "2"},
    {"3.0+0.2", "5.0"},
    {"", ""},
    {"ATA", "ATA"},
    {nullptr, nullptr}};

// Tabs between keyword and value in the written file.
const char* kw_separator(int k) {
    if (k == KW_DIALIN_SETUP || k == KW_DIALOUT_SETUP)
        return "\t";
    if (k == KW_TIMEOUT || k == KW_RETRY)
        return "\t\t\t";
    return "\t\t";
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

const char* skip_blanks(const char* c) {
    while (*c && is_blank(*c))
        ++c;
    return c;
}

// Reads one line (without its line end, "\n" or "\r\n") of at most
// MDM_LINE_MAX characters;
// the rest of a longer line and everything after a NUL byte are dropped,
// without ever holding more than one line's worth in memory.
bool read_line(FILE* fp, std::string* line) {
    line->clear();
    int c = getc_unlocked(fp);
    if (c == EOF)
        return false;
    bool nul = false;
    for (; c != EOF && c != '\n'; c = getc_unlocked(fp)) {
        nul = nul || c == '\0';
        if (!nul && line->size() < static_cast<size_t>(MDM_LINE_MAX))
            line->push_back(static_cast<char>(c));
    }
    if (!line->empty() && line->back() == '\r')
        line->pop_back(); // a CRLF line end is a line end
    return true;
}

std::string first_word(const std::string& line) {
    const char* c = line.c_str();
    std::string w;
    read_string(&c, &w);
    return w;
}

const char* const categories[] = {"%gateway", "%rotary", "%service",
                                  "%macro",   "%modem",  "%dialout"};

} // namespace

int mdm_keyword_index(const std::string& word) {
    for (int k = 0; k < MDM_KW_COUNT; ++k)
        if (word == mdm_keywords[k])
            return k;
    return -1;
}

ModemDef* chk_mdm_list(ModemList& list, const std::string& name) {
    for (ModemDef& d : list)
        if (!d.duplicate && d.name == name)
            return &d;
    return nullptr;
}

ModemDef crt_mdm_node_def(bool basic_dial, const std::string& name) {
    ModemDef d;
    d.name = name.substr(0, MDM_NAME_STORED);
    for (int k = 1; k < KW_END; ++k)
        d.values[k] = basic_dial ? kw_defaults[k].dial_value : kw_defaults[k].async_value;
    return d;
}

MdmTexts mdm_edit_texts(const ModemDef& def) {
    MdmTexts t;
    for (int i = 0; i < 3; ++i)
        t[i] = def.values[MDM_EDIT_KWS[i]].value_or("");
    return t;
}

int chk_mdm_strs(const ModemDef& def, const MdmTexts& texts) {
    MdmTexts cur = mdm_edit_texts(def);
    for (int i = 0; i < 3; ++i)
        if (cur[i] != texts[i].substr(0, MDM_VALUE_MAX))
            return 1;
    return 0;
}

int chk_upd_mdm_strs(ModemDef* def, const MdmTexts& texts) {
    int changed = 0;
    MdmTexts cur = mdm_edit_texts(*def);
    for (int i = 0; i < 3; ++i) {
        std::string v = texts[i].substr(0, MDM_VALUE_MAX);
        if (cur[i] != v) {
            def->values[MDM_EDIT_KWS[i]] = v;
            changed = 1;
        }
    }
    return changed;
}

int del_mdm_node(ModemList& list, const std::string& name) {
    for (auto it = list.begin(); it != list.end(); ++it)
        if (!it->duplicate && it->name == name) {
            list.erase(it);
            return 1;
        }
    return 0;
}

int read_string(const char** cursor, std::string* word) {
    const char* c = skip_blanks(*cursor);
    const char* start = c;
    while (*c && !is_blank(*c))
        ++c;
    word->assign(start, static_cast<size_t>(c - start));
    *cursor = c;
    return word->empty() ? 1 : 0;
}

void mdm_add_comment(MdmParse* p, const std::string& line) {
    std::string text = line + "\n";
    if (p->comments.size() + text.size() > MDM_COMMENT_MAX) {
        p->comments_lost = true;
        return;
    }
    p->comments += text;
}

namespace {

int start_definition(const char* c, MdmParse* p, std::string* message) {
    std::string name;
    if (read_string(&c, &name)) {
        *message = MPM_SYNTAX;
        return MLR_MESSAGE;
    }
    if (name.size() > MDM_NAME_ACCEPTED) {
        *message = MPM_LENGTH;
        return MLR_MESSAGE;
    }
    p->cur = ModemDef();
    p->cur.name = name.substr(0, MDM_NAME_STORED);
    if (!p->names_ready) { // the list may hold the definitions of earlier files
        for (const ModemDef& d : *p->list)
            if (!d.duplicate)
                p->names.insert(d.name);
        p->names_ready = true;
    }
    if (p->names.count(p->cur.name)) {
        p->cur.duplicate = true;
        if (p->notes.size() >= MDM_NOTES_SHOWN)
            ++p->notes_hidden;
        else
            p->notes.push_back(p->from_cfg
                                   ? "Encountered duplicate type_of_modem, " + p->cur.name +
                                         ",\nfrom the config file."
                                   : "Encountered duplicate type_of_modem, " + p->cur.name +
                                         ",\nfrom the modem include file: " + p->inc_name + ".");
    }
    p->state = 1;
    return MLR_OK;
}

int end_definition(MdmParse* p, bool include_seen, std::string* message) {
    int state = p->state;
    p->state = 0;
    if (state == 0) {
        *message = MPM_MISSING_TYPE;
        return MLR_MESSAGE;
    }
    if (state == 2)
        return MLR_OK;
    if (p->from_cfg && include_seen)
        return MLR_DEF_AFTER_INCLUDE;
    if (p->list->size() >= MDM_DEFS_MAX) {
        p->too_many = true;
        return MLR_OK;
    }
    p->cur.comment = std::move(p->comments);
    p->comments.clear();
    if (!p->cur.duplicate && p->names_ready)
        p->names.insert(p->cur.name);
    p->list->push_back(std::move(p->cur));
    return MLR_OK;
}

} // namespace

int parse_modem(const std::string& line, MdmParse* p, bool include_seen, std::string* message) {
    const char* c = skip_blanks(line.c_str());
    if (*c == '#')
        return MLR_OK;
    std::string word;
    if (read_string(&c, &word))
        return MLR_OK;
    if (!p->from_cfg && word == "%include")
        return MLR_INCLUDE;
    int k = mdm_keyword_index(word);
    if (k < 0) {
        *message = MPM_UNKNOWN_KW;
        return MLR_MESSAGE;
    }
    if (k == KW_TYPE_OF_MODEM) {
        if (p->state == 2)
            return MLR_OK;
        if (p->state == 1) {
            p->state = 2;
            *message = MPM_MISSING_END;
            return MLR_MESSAGE;
        }
        return start_definition(c, p, message);
    }
    if (k == KW_END)
        return end_definition(p, include_seen, message);
    if (p->state == 0) {
        *message = MPM_MISSING_TYPE;
        return MLR_MESSAGE;
    }
    if (p->state == 1) {
        while (*c == ' ' || *c == '\t')
            ++c;
        p->cur.values[k] = std::string(c).substr(0, MDM_VALUE_MAX);
    }
    return MLR_OK;
}

namespace {

// An include line: the name is remembered (within the table's bounds).
bool add_include(const char* c, CfgParse* out) {
    std::string name;
    read_string(&c, &name);
    if (name.empty())
        return true;
    if (name.size() > MDM_INC_NAME_MAX) {
        out->error = "The modem include file name is too long (more than 65 characters):\n" + name +
                     "\nmodem functionality (editing, etc.) will not be allowed.";
        return false;
    }
    if (out->includes.size() >= MDM_INC_MAX) {
        out->error = "Too many modem include files (more than 16); this one cannot be read:\n" +
                     name + "\nmodem functionality (editing, etc.) will not be allowed.";
        return false;
    }
    out->includes.push_back(name);
    return true;
}

// Ends a parse run: -1 with the error when the list overflowed, else rc.
int finish(const MdmParse& p, CfgParse* out, int rc) {
    out->notes.insert(out->notes.end(), p.notes.begin(), p.notes.end());
    if (p.notes_hidden > 0)
        out->notes.push_back("... and " + std::to_string(p.notes_hidden) +
                             " more duplicate type_of_modem names.");
    out->comments_lost = out->comments_lost || p.comments_lost;
    if (rc == 0 && p.too_many) {
        out->error = "The modem definitions hold more than " + std::to_string(MDM_DEFS_MAX) +
                     " entries;\nmodem functionality (editing, etc.) will not be allowed.";
        return -1;
    }
    return rc;
}

} // namespace

int prs_cfg_fil(const std::string& path, ModemList* list, CfgParse* out) {
    FilePtr file = open_file(path, "r");
    FILE* fp = file.get();
    if (!fp)
        return -1;
    MdmParse p;
    p.list = list;
    bool in_modem = false, modem_seen = false, include_seen = false;
    int rc = 0;
    std::string line;
    while (rc == 0 && !p.too_many && read_line(fp, &line)) {
        const char* c = skip_blanks(line.c_str());
        std::string word = first_word(line);
        if (word == "%include") {
            c += strlen("%include");
            if (in_modem) {
                include_seen = true;
                if (!add_include(c, out))
                    rc = -1;
            }
        } else if (*c == '%') {
            in_modem = word == categories[4];
            if (in_modem && modem_seen) {
                out->error = "Duplicate modem category statements were encountered\nin the "
                             "Morix configruation file.";
                rc = -1;
            }
            modem_seen = modem_seen || in_modem;
        } else if (!in_modem) {
            continue;
        } else if (*c == '\0' || *c == '#') {
            mdm_add_comment(&p, line);
        } else {
            std::string msg;
            int r = parse_modem(line, &p, include_seen, &msg);
            if (r == MLR_DEF_AFTER_INCLUDE) {
                out->error = "A modem definition within the configuration file was\nencountered "
                             "after a reference to a modem include file.";
                rc = -1;
            } else if (r == MLR_MESSAGE && out->debug.size() < MDM_NOTES_SHOWN) {
                out->debug.push_back(msg);
            }
        }
    }
    if (p.comments_lost)
        diag_printf("\n\nWARNING: Unable to handle all comments.  Apply will cause some comments "
                    "to be removed.\n\n");
    return finish(p, out, rc);
}

int prs_mdm_inc_fil(const std::string& path, const std::string& inc_name, ModemList* list,
                    CfgParse* out) {
    FilePtr file = open_file(path, "r");
    FILE* fp = file.get();
    if (!fp) {
        out->error = "Could not open the modem include file: " + inc_name + ".";
        return -1;
    }
    MdmParse p;
    p.list = list;
    p.from_cfg = false;
    p.inc_name = inc_name;
    int rc = 0;
    std::string line;
    while (rc == 0 && !p.too_many && read_line(fp, &line)) {
        const char* c = skip_blanks(line.c_str());
        if (*c == '\0' || *c == '#') {
            mdm_add_comment(&p, line);
            continue;
        }
        std::string msg;
        int r = parse_modem(line, &p, false, &msg);
        if (r == MLR_INCLUDE) {
            out->error =
                "An include statement was encountered in the modem\ninclude file: " + inc_name;
            rc = -1;
        } else if (r == MLR_MESSAGE && out->debug.size() < MDM_NOTES_SHOWN) {
            out->debug.push_back(msg); // the first ones: enough to find the fault
        }
    }
    return finish(p, out, rc);
}

namespace {

bool starts_modem(const std::string& line) {
    return strncmp(skip_blanks(line.c_str()), "%modem", 6) == 0;
}

// The line end of a raw line: "\r\n", "\n" or none.
std::string line_end(const std::string& raw) {
    if (raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\r\n") == 0)
        return "\r\n";
    return !raw.empty() && raw.back() == '\n' ? "\n" : "";
}

// A raw line as read_line gives it to the parser.
std::string logical_line(const std::string& raw) {
    std::string l = raw.substr(0, raw.size() - (!raw.empty() && raw.back() == '\n'));
    l.resize(std::min({l.size(), l.find('\0'), static_cast<size_t>(MDM_LINE_MAX)}));
    if (!l.empty() && l.back() == '\r')
        l.pop_back();
    return l;
}

// One definition of a new entry, with the file's line end.
std::string entry_text(const ModemDef& d, const std::string& eol) {
    std::string t;
    for (size_t at = 0, nl; at < d.comment.size(); at = nl + 1) {
        nl = d.comment.find('\n', at);
        nl = nl == std::string::npos ? d.comment.size() : nl;
        t += d.comment.substr(at, nl - at) + eol;
    }
    if (t.empty())
        t = eol;
    t += std::string(mdm_keywords[0]) + kw_separator(0) + d.name + eol;
    for (int k = 1; k < KW_END; ++k)
        if (d.values[k])
            t += std::string(mdm_keywords[k]) + kw_separator(k) + *d.values[k] + eol;
    return t + "end" + eol;
}

// A definition of the file as read: its raw lines (the comment and blank
// lines before it first) and the keyword of each line inside it (-1 for
// the others).
struct DefBlock {
    std::vector<std::string> lines;
    std::vector<int> kws;
};

// Rewrites the modem section of a configuration file from the list while
// copying it: a definition the list holds unchanged is copied byte for
// byte, an edited one changes only the lines of the values that differ,
// one the list no longer holds goes with its comment, and entries new to
// the list follow the file's last definition, written with its line ends.
class SectionWriter {
  public:
    SectionWriter(FILE* out, const ModemList& list) : out_(out) {
        for (const ModemDef& d : list)
            if (!d.duplicate && !wanted_.count(d.name))
                wanted_.emplace(d.name, &d);
        for (const ModemDef& d : list)
            if (!d.duplicate)
                order_.push_back(&d);
        parse_.list = &parsed_;
    }
    void start(const std::string& modem_line) {
        eol_ = line_end(modem_line).empty() ? "\n" : line_end(modem_line);
    }
    void line(const std::string& raw);
    // The section ends (a '%' line or the end of the file).
    void finish();

  private:
    void put(const std::string& raw) { fwrite(raw.data(), 1, raw.size(), out_); }
    void put_all(std::vector<std::string>* lines) {
        for (const std::string& l : *lines)
            put(l);
        lines->clear();
    }
    void end_block(bool used);
    void put_edited(const ModemDef& have, const ModemDef& want);

    FILE* out_;
    std::string eol_ = "\n";
    std::unordered_map<std::string, const ModemDef*> wanted_;
    std::vector<const ModemDef*> order_;
    std::unordered_set<std::string> written_;
    ModemList parsed_;
    MdmParse parse_;
    std::vector<std::string> pending_; // comment and blank lines between definitions
    DefBlock block_;
    bool in_def_ = false;
};

void SectionWriter::line(const std::string& raw) {
    std::string logical = logical_line(raw);
    const char* c = skip_blanks(logical.c_str());
    if (*c == '\0' || *c == '#') {
        if (in_def_) {
            block_.lines.push_back(raw);
            block_.kws.push_back(-1);
        } else {
            pending_.push_back(raw);
        }
        return;
    }
    int before = parse_.state;
    size_t count = parsed_.size();
    std::string message;
    parse_modem(logical, &parse_, false, &message);
    if (!in_def_ && parse_.state == 0) {
        put_all(&pending_); // a line outside any definition: kept as it is
        put(raw);
        return;
    }
    if (!in_def_) {
        in_def_ = true;
        block_.lines.swap(pending_);
        block_.kws.assign(block_.lines.size(), -1);
    }
    block_.lines.push_back(raw);
    block_.kws.push_back(before == 1 ? mdm_keyword_index(first_word(logical)) : -1);
    if (parse_.state == 0)
        end_block(parsed_.size() > count);
}

void SectionWriter::end_block(bool used) {
    in_def_ = false;
    if (!used) { // never a definition the list could hold: kept as it is
        put_all(&block_.lines);
        return;
    }
    ModemDef have = std::move(parsed_.back());
    parsed_.pop_back();
    auto it = wanted_.find(have.name);
    if (it == wanted_.end()) {
        block_.lines.clear(); // deleted, with its duplicates
        return;
    }
    if (have.duplicate) {
        put_all(&block_.lines); // never used: kept as it is
        return;
    }
    written_.insert(have.name);
    put_edited(have, *it->second);
    block_.lines.clear();
}

void SectionWriter::put_edited(const ModemDef& have, const ModemDef& want) {
    std::vector<std::string>& lines = block_.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        int k = block_.kws[i];
        bool end_line = i + 1 == lines.size();
        if (end_line) {
            for (int n = 1; n < KW_END; ++n) // values the definition did not hold
                if (want.values[n] && !have.values[n])
                    put(std::string(mdm_keywords[n]) + kw_separator(n) + *want.values[n] +
                        (line_end(lines[i]).empty() ? eol_ : line_end(lines[i])));
        }
        if (k <= 0 || k >= KW_END || want.values[k] == have.values[k]) {
            put(lines[i]);
            continue;
        }
        if (!want.values[k])
            continue; // a value the entry no longer holds
        // the keyword and the blanks after it stay; the value and line end too
        std::string logical = logical_line(lines[i]);
        const char* c = skip_blanks(logical.c_str());
        while (*c && !is_blank(*c))
            ++c;
        while (*c == ' ' || *c == '\t')
            ++c;
        put(logical.substr(0, static_cast<size_t>(c - logical.c_str())) + *want.values[k] +
            line_end(lines[i]));
    }
}

void SectionWriter::finish() {
    if (in_def_) { // a definition without its end: never parsed, kept
        in_def_ = false;
        put_all(&block_.lines);
    }
    for (const ModemDef* d : order_)
        if (written_.insert(d->name).second)
            put(entry_text(*d, eol_));
    put_all(&pending_);
}

// Copies raw lines (line ends and every byte kept) from in to out,
// rewriting the definitions of the first modem section from the list.
bool copy_replacing(FILE* in, FILE* out, const ModemList& list) {
    SectionWriter section(out, list);
    int where = 0; // 0 before the modem section, 1 in it, 2 after it
    char* buf = nullptr;
    size_t cap = 0;
    ssize_t n;
    while ((n = getline(&buf, &cap, in)) >= 0) {
        std::string line(buf, static_cast<size_t>(n));
        if (where == 1 && skip_blanks(line.c_str())[0] == '%') {
            section.finish();
            where = 2;
        }
        if (where == 1) {
            section.line(line);
            continue;
        }
        fwrite(line.data(), 1, line.size(), out);
        if (where == 0 && starts_modem(line)) {
            if (line.back() != '\n')
                fputc('\n', out);
            section.start(line);
            where = 1;
        }
    }
    if (where == 1)
        section.finish();
    free(buf);
    return where > 0;
}

} // namespace

int write_cfg_fil_list(const std::string& path, const std::string& tmp_path,
                       const ModemList& list) {
    FilePtr in_file = open_file(path, "r");
    FILE* in = in_file.release();
    if (!in)
        return 0;
    int fd = open(tmp_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (!out) {
        if (fd >= 0)
            close(fd);
        fclose(in);
        return 0;
    }
    bool found = copy_replacing(in, out, list);
    fclose(in);
    bool ok = fclose(out) == 0;
    if (!found || !ok || rename(tmp_path.c_str(), path.c_str()) != 0) {
        unlink(tmp_path.c_str());
        return 0;
    }
    return 1;
}
