// Modem definitions without a peer: the parsers' rules and edge cases, the
// exact layout the writer gives the modem section, hostile input, local
// file names, editor command lines and the reset choice rules.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <unistd.h>

#include <functional>

#include "files/edit_conf.h"
#include "files/editor_run.h"
#include "files/modem_cfg.h"
#include "files/modem_info.h"
#include "support/test_dirs.h"

namespace {

struct Parsed {
    int rc;
    ModemList list;
    CfgParse out;
};

Parsed parse_cfg(const std::string& text) {
    TempDir d;
    write_file(d.file("c"), text);
    Parsed p;
    p.rc = prs_cfg_fil(d.file("c"), &p.list, &p.out);
    return p;
}

std::string names(const ModemList& l) {
    std::string s;
    for (const ModemDef& d : l)
        s += d.name + (d.duplicate ? "*" : "") + ",";
    return s;
}

TEST(ModemCfg, ParserRulesAndEdgeCases) {
    struct Case {
        const char* text;
        int rc;
        const char* names;      // parsed entries, "*" marks a duplicate
        const char* error_part; // "" when none
    };
    const Case cases[] = {
        // a definition without end: it is lost, the next type_of_modem is
        // not used and lines up to the next end are skipped
        {"%modem\ntype_of_modem a\ntimeout 1\ntype_of_modem b\ntimeout 2\nend\ntype_of_modem "
         "c\nend\n",
         0, "c,", ""},
        // 16 characters accepted and stored as 15; 17 refused
        {"%modem\ntype_of_modem abcdefghijklmnop\nend\ntype_of_modem abcdefghijklmnopq\nend\n", 0,
         "abcdefghijklmno,", ""},
        {"%modem\ntype_of_modem x\nend\n  type_of_modem x\nend\n", 0, "x,x*,", ""},
        // only the modem category is parsed
        {"%gateway\ntype_of_modem g\nend\n%modem\ntype_of_modem m\nend\n%service\ntype_of_modem "
         "s\nend\n",
         0, "m,", ""},
        {"%modem\n%modem\n", -1, "", "Duplicate modem category"},
        {"%modem\n%include inc\ntype_of_modem late\nend\n", -1, "", "after a reference"},
        {"%modem\ntype_of_modem a\nend\n%include a.inc\n%include b.inc\n", 0, "a,", ""},
        {"no modem section at all\n", 0, "", ""},
    };
    for (const Case& c : cases) {
        Parsed p = parse_cfg(c.text);
        EXPECT_EQ(p.rc, c.rc) << c.text;
        EXPECT_EQ(names(p.list), c.names) << c.text;
        EXPECT_NE(p.out.error.find(c.error_part), std::string::npos) << c.text;
    }
    Parsed dup = parse_cfg("%modem\ntype_of_modem x\nend\ntype_of_modem x\nend\n");
    ASSERT_EQ(dup.out.notes.size(), 1u);
    EXPECT_EQ(dup.out.notes[0], "Encountered duplicate type_of_modem, x,\nfrom the config file.");
    EXPECT_EQ(chk_mdm_list(dup.list, "x"), &dup.list[0]);
}

TEST(ModemCfg, ValuesCommentsIncludesAndMessages) {
    Parsed p =
        parse_cfg("%modem\n# one\n\n#two\ntype_of_modem a\ndial_cmd ATDT\ndial_cmd \t ATDP 9\n"
                  "bogus 1\nend\n# trailing\n%include  m.inc\n");
    ASSERT_EQ(p.rc, 0);
    ASSERT_EQ(p.list.size(), 1u);
    EXPECT_EQ(p.list[0].comment, "# one\n\n#two\n");
    EXPECT_EQ(*p.list[0].values[11], "ATDP 9"); // a later line replaces the value
    EXPECT_FALSE(p.list[0].values[12]);
    EXPECT_EQ(p.out.includes, std::vector<std::string>{"m.inc"});
    EXPECT_EQ(p.out.debug, std::vector<std::string>{"unknown keyword ignored"});

    // more than 16 include files, or a name over 65 characters: refused,
    // naming the file
    std::string many = "%modem\n";
    for (int i = 0; i < 17; ++i)
        many += "%include f" + std::to_string(i) + "\n";
    Parsed m = parse_cfg(many);
    EXPECT_EQ(m.rc, -1);
    EXPECT_NE(m.out.error.find("f16"), std::string::npos);
    Parsed longname = parse_cfg("%modem\n%include " + std::string(66, 'n') + "\n");
    EXPECT_EQ(longname.rc, -1);
    EXPECT_NE(longname.out.error.find(std::string(66, 'n')), std::string::npos);

    // include files: no includes of their own; duplicates across files
    TempDir d;
    write_file(d.file("i1"), "type_of_modem z\nend\n");
    write_file(d.file("i2"), "type_of_modem z\nend\n%include x\n");
    ModemList db;
    CfgParse o1, o2, o3;
    EXPECT_EQ(prs_mdm_inc_fil(d.file("i1"), "i1", &db, &o1), 0);
    EXPECT_EQ(prs_mdm_inc_fil(d.file("i2"), "i2", &db, &o2), -1);
    EXPECT_EQ(o2.error, "An include statement was encountered in the modem\ninclude file: i2");
    EXPECT_EQ(o2.notes[0],
              "Encountered duplicate type_of_modem, z,\nfrom the modem include file: i2.");
    EXPECT_EQ(prs_mdm_inc_fil(d.file("none"), "none", &db, &o3), -1);
    EXPECT_EQ(o3.error, "Could not open the modem include file: none.");

    // the comment buffer holds 1024 characters
    std::string lots = "%modem\n";
    for (int i = 0; i < 40; ++i)
        lots += "# " + std::string(40, 'c') + "\n";
    Parsed c = parse_cfg(lots + "type_of_modem a\nend\n");
    EXPECT_TRUE(c.out.comments_lost);
    EXPECT_LE(c.list[0].comment.size(), 1024u);
}

TEST(ModemCfg, WriterLayoutKeepsTheRestOfTheFile) {
    TempDir d;
    const std::string head = "%gateway\r\nnet 1 2\n\n%modem\n";
    const std::string tail = "%include m.inc\n%service\nbinary\x01\xff stays\nno line end";
    write_file(d.file("c"), head + "# c1\ntype_of_modem old\nend\n\n" + tail);
    ModemList l;
    l.push_back(crt_mdm_node_def(false, "new"));
    l.back().comment = "# c1\n";
    ModemDef dup = crt_mdm_node_def(true, "new");
    dup.duplicate = true;
    l.push_back(dup);
    ModemDef bare;
    bare.name = "bare";
    bare.values[KW_TIMEOUT] = "5";
    bare.values[KW_DIALIN_SETUP] = "AT";
    l.push_back(bare);
    ASSERT_EQ(write_cfg_fil_list(d.file("c"), d.file("w"), l), 1);
    const std::string expect =
        "# c1\ntype_of_modem\t\tnew\nready_status\t\t0\n"
        "connect_status\t\t1 5 10 13 18 20 21 25 43 47 85 91\nreset_cmd\t\tATZ\n"
        "connect_abort\t\t4 6\ndialin_setup_cmd\tATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=1\n"
        "dialout_setup_cmd\tATE1V0Q2X4&A0&B1&C1&D2&H1&I0&K1&R2S0=0\nmodem_setup_cmd\t\t\n"
        "setup_cmd\t\tATE1M0Q2V0W2&C1&D2&K3&Q5S7=60\nconnect_ignore\t\t2\nconnect_retry\t\t3 7 8\n"
        "dial_cmd\t\tATDT\ntimeout\t\t\t90\nretry\t\t\t2\nreset_delay\t\t3.0+0.2\n"
        "dtr_down_time\t\t\nanswer_cmd\t\tATA\nend\n"
        "\ntype_of_modem\t\tbare\ndialin_setup_cmd\tAT\ntimeout\t\t\t5\nend\n\n";
    EXPECT_EQ(read_file(d.file("c")), head + expect + tail);
    EXPECT_NE(access(d.file("w").c_str(), F_OK), 0);

    // no "%modem": nothing written, the copy unchanged
    write_file(d.file("n"), "%gateway\nx\n");
    EXPECT_EQ(write_cfg_fil_list(d.file("n"), d.file("w"), l), 0);
    EXPECT_EQ(read_file(d.file("n")), "%gateway\nx\n");
    EXPECT_NE(access(d.file("w").c_str(), F_OK), 0);
    EXPECT_EQ(write_cfg_fil_list(d.file("missing"), d.file("w"), l), 0);
}

// "$" stands for the file's own line end in these texts.
std::string with_eol(std::string text, const std::string& eol) {
    for (size_t at = 0; (at = text.find('$', at)) != std::string::npos; at += eol.size())
        text.replace(at, 1, eol);
    return text;
}

TEST(ModemCfg, RewriteKeepsLineEndsAndChangesOnlyWhatWasEdited) {
    const std::string file =
        "%gateway$net 1$%modem$# first$type_of_modem a$dial_cmd   ATDT$bogus 1$end$$"
        "type_of_modem b$dialin_setup_cmd ATZ$timeout\t\t\t90$end$type_of_modem a$end$"
        "# third$type_of_modem c$end$$%include m.inc$%service$x";
    const struct {
        const char* what;
        std::function<void(ModemList&)> edit;
        std::string from, to; // the only change of the file
    } cases[] = {
        {"nothing", [](ModemList&) {}, "", ""},
        {"one field", [](ModemList& l) { l[1].values[KW_DIALIN_SETUP] = "AT&F"; },
         "dialin_setup_cmd ATZ$", "dialin_setup_cmd AT&F$"},
        {"a new field", [](ModemList& l) { l[1].values[KW_DIALOUT_SETUP] = "ATD"; }, "90$end$",
         "90$dialout_setup_cmd\tATD$end$"},
        {"deleted", [](ModemList& l) { del_mdm_node(l, "c"); }, "# third$type_of_modem c$end$", ""},
        {"deleted with its duplicate", [](ModemList& l) { del_mdm_node(l, "a"); },
         "# first$type_of_modem a$dial_cmd   ATDT$bogus 1$end$$type_of_modem b$dialin_setup_cmd "
         "ATZ$timeout\t\t\t90$end$type_of_modem a$end$",
         "$type_of_modem b$dialin_setup_cmd ATZ$timeout\t\t\t90$end$"},
        {"added",
         [](ModemList& l) {
             l.push_back(ModemDef());
             l.back().name = "d";
             l.back().values[KW_TIMEOUT] = "5";
         },
         "c$end$", "c$end$$type_of_modem\t\td$timeout\t\t\t5$end$"},
    };
    for (const std::string eol : {"\n", "\r\n"}) {
        for (const auto& c : cases) {
            TempDir d;
            write_file(d.file("c"), with_eol(file, eol));
            ModemList l;
            CfgParse out;
            ASSERT_EQ(prs_cfg_fil(d.file("c"), &l, &out), 0);
            ASSERT_EQ(names(l), "a,b,a*,c,");
            EXPECT_EQ(mdm_edit_texts(l[1])[1], "ATZ"); // no line end in a value
            c.edit(l);
            ASSERT_EQ(write_cfg_fil_list(d.file("c"), d.file("w"), l), 1);
            std::string want = file;
            if (!c.from.empty())
                want.replace(want.find(c.from), c.from.size(), c.to);
            EXPECT_EQ(read_file(d.file("c")), with_eol(want, eol)) << c.what << " " << eol.size();
        }
    }
}

TEST(ModemCfg, HostileInputStaysInBounds) {
    std::string big = "%modem\n";
    for (int i = 0; i < 50000; ++i)
        big += i % 3 == 0   ? "type_of_modem m" + std::to_string(i % 97) + "\n"
               : i % 3 == 1 ? "dial_cmd " + std::string(600, 'x') + "\n"
                            : "end\n";
    std::string garbage = "%modem\n";
    unsigned v = 7;
    for (int i = 0; i < 200000; ++i) {
        v = v * 1103515245u + 12345u;
        garbage += static_cast<char>(v >> 24);
    }
    const char nul_text[] = "%modem\ntype_of_modem a\0b\ndial_cmd X\0Y\nend\n";
    std::string nul(nul_text, sizeof nul_text - 1);
    std::string longname = "%modem\ntype_of_modem " + std::string(600, 'n') + "\nend\n";
    for (const std::string& text : {big, garbage, nul, longname}) {
        Parsed p = parse_cfg(text);
        for (const ModemDef& d : p.list) {
            EXPECT_LE(d.name.size(), 15u);
            for (const auto& val : d.values)
                EXPECT_LE(val ? val->size() : 0u, 255u);
        }
    }
    Parsed b = parse_cfg(big);
    EXPECT_EQ(b.list.size(), 16666u); // every third line ends a definition
    // 16570 repeated names (97 distinct of 16667): twenty warnings, then a sum
    ASSERT_EQ(b.out.notes.size(), MDM_NOTES_SHOWN + 1);
    EXPECT_EQ(b.out.notes.back(), "... and 16550 more duplicate type_of_modem names.");
    EXPECT_EQ(b.list[0].values[11]->size(), 255u);
    // a FIFO in place of a local copy is refused, not waited on
    TempDir f;
    ASSERT_EQ(mkfifo(f.file("fifo").c_str(), 0600), 0);
    ModemList fl;
    CfgParse fo;
    EXPECT_EQ(prs_cfg_fil(f.file("fifo"), &fl, &fo), -1);
    EXPECT_EQ(prs_mdm_inc_fil(f.file("fifo"), "modems.inc", &fl, &fo), -1);
    EXPECT_EQ(fo.error, "Could not open the modem include file: modems.inc.");
    Parsed n = parse_cfg(nul);
    ASSERT_EQ(n.list.size(), 1u);
    EXPECT_EQ(n.list[0].name, "a");
    EXPECT_EQ(*n.list[0].values[11], "X");
}

TEST(ModemCfg, ListOperations) {
    ModemList l{crt_mdm_node_def(true, "d")};
    EXPECT_EQ(*l[0].values[KW_CONNECT_STATUS], "1 5 9 10 11 30 32 34 36 40 44 60 62 64 66 68");
    EXPECT_EQ(*l[0].values[KW_RESET_DELAY], "5.0");
    MdmTexts t = mdm_edit_texts(l[0]);
    EXPECT_EQ(chk_mdm_strs(l[0], t), 0);
    t[1] = std::string(300, 'a');
    EXPECT_EQ(chk_upd_mdm_strs(&l[0], t), 1);
    EXPECT_EQ(l[0].values[KW_DIALIN_SETUP]->size(), 255u);
    EXPECT_EQ(chk_mdm_strs(l[0], t), 0);
    EXPECT_EQ(del_mdm_node(l, "none"), 0);
    EXPECT_EQ(del_mdm_node(l, "d"), 1);
    EXPECT_TRUE(l.empty());
}

TEST(ModemFiles, LocalNamesNeverLeaveTheFolder) {
    struct Case {
        const char* remote;
        const char* local;
    };
    const Case cases[] = {{"morix.cfg", "morix.cfg"},
                          {"cfg/site/morix.cfg", "morix.cfg"},
                          {"../../etc/passwd", "passwd"},
                          {"..", "cfg"},
                          {"a/..", "cfg"},
                          {"", "cfg"},
                          {"x;rm -rf $(id) 'q'.cfg", "x_rm_-rf___id___q_.cfg"},
                          {"a\nb`c`", "a_b_c_"}};
    for (const Case& c : cases)
        EXPECT_EQ(mdm_local_name(c.remote), c.local) << c.remote;
}

TEST(ModemFiles, MoveFileCopiesWithoutAProgram) {
    TempDir d;
    const std::string odd = d.file("a b;$(touch x)");
    write_file(odd, std::string("bytes\0\r\n", 8));
    EXPECT_EQ(move_file(odd, d.file("dst"), 0), 0);
    EXPECT_EQ(read_file(d.file("dst")), std::string("bytes\0\r\n", 8));
    EXPECT_NE(access(odd.c_str(), F_OK), 0);
    EXPECT_NE(access(d.file("x").c_str(), F_OK), 0);
    // a failed copy keeps the source unless flag is 1
    EXPECT_EQ(move_file(d.file("dst"), d.file("no/dir"), 0), -12);
    EXPECT_EQ(access(d.file("dst").c_str(), F_OK), 0);
    EXPECT_EQ(move_file(d.file("dst"), d.file("no/dir"), 1), -12);
    EXPECT_NE(access(d.file("dst").c_str(), F_OK), 0);
    // a FIFO at the destination is refused, not waited on
    write_file(d.file("src"), "x");
    ASSERT_EQ(mkfifo(d.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(move_file(d.file("src"), d.file("fifo"), 0), -12);
}

TEST(ModemFiles, EditorCommandLines) {
    EXPECT_EQ(split_editor_words("  emacs\t-nw  "), (std::vector<std::string>{"emacs", "-nw"}));
    EXPECT_EQ(split_editor_words("ed '$(x)';"), (std::vector<std::string>{"ed", "'$(x)';"}));
    auto only = [](std::vector<std::string> have) {
        return [have](const std::string& n) {
            for (const std::string& h : have)
                if (h == n)
                    return "/usr/bin/" + n;
            return std::string();
        };
    };
    const std::vector<std::string> ed{"emacs", "-nw"};
    const std::string p = "/t/a b;c";
    using V = std::vector<std::string>;
    struct Case {
        bool in_window;
        const char* term;
        V installed;
        V argv;
    };
    const Case cases[] = {
        {true, "xterm-256color", {"xterm"}, {"emacs", "-nw", p}},
        {false, "", {"xterm"}, {"emacs", "-nw", p}},
        {false,
         "xterm-256color",
         {"x-terminal-emulator", "xterm"},
         {"/usr/bin/x-terminal-emulator", "-T", "T", "-e", "emacs", "-nw", p}},
        {false,
         "vt100",
         {"xterm"},
         {"/usr/bin/xterm", "-title", "T", "-geometry", "80x10-0-0", "-e", "emacs", "-nw", p}},
        {false,
         "urxvt",
         {"urxvt", "xterm"},
         {"/usr/bin/urxvt", "-title", "T", "-geometry", "80x10-0-0", "-e", "emacs", "-nw", p}},
        {false, "linux", {}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editor_argv(ed, p, c.in_window, c.term, "T", only(c.installed)), c.argv)
            << c.term;
    EXPECT_TRUE(editor_argv({}, p, true, "", "T", only({})).empty());
    EXPECT_EQ(run_and_wait({"/nonexistent/editor", "x"}), -1);
    EXPECT_EQ(run_and_wait({"sh", "-c", "exit 3"}), 3);
}

TEST(ModemFiles, ResetChoiceAllRules) {
    const int all = 0x7f;
    EXPECT_EQ(edit_conf_reset_val(0, 0, true), all);     // All sets every toggle
    EXPECT_EQ(edit_conf_reset_val(all, 0, false), 0);    // and clears them
    EXPECT_EQ(edit_conf_reset_val(0x4, 3, true), 0xc);   // others are left alone
    EXPECT_EQ(edit_conf_reset_val(all, 2, false), 0x7a); // clearing one clears All
    EXPECT_EQ(edit_conf_reset_val(0x6, 1, false), 0x4);
    EXPECT_STREQ(edit_conf_reset_names[3], "External Modem");
    EXPECT_EQ(edit_conf_reset_codes[3], 10);
}

} // namespace
