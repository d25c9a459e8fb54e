// Version headers and list files that need no device: refusals, invalid
// lines, the saved format.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "catalogue/line_scan.h"
#include "devices/mrx_list_file.h"
#include "frame/dispatch.h"
#include "support/test_dirs.h"
#include "ui_headless/ui_headless.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

const char* const k_list_header =
    "#\n# DB_VERSION: V1.0\n# FORMAT: Morix Name | Community String | Timeout | Retries\n";
const char* const k_script_header =
    "#\n# DB_VERSION: V1.0\n# FORMAT: Parameter Name | Port Type | Port Number | Value\n";

int header_of(const std::string& content, int kind) {
    TempDir t;
    write_file(t.file("f"), content);
    FilePtr f = open_file(t.file("f"), "r");
    return check_version_header(f.get(), kind);
}

TEST(VersionHeader, BothKindsAndVariants) {
    EXPECT_EQ(header_of(std::string(k_list_header) + "#\n", DFK_MRX_LIST), 1);
    EXPECT_EQ(header_of(k_script_header, DFK_SCRIPT), 1);
    EXPECT_EQ(header_of(k_script_header, DFK_MRX_LIST), 0);
    EXPECT_EQ(header_of(k_list_header, DFK_SCRIPT), 0);
    EXPECT_EQ(header_of("#\n#DB_VERSION: V1.0\n", DFK_MRX_LIST), 0);
    EXPECT_EQ(header_of("", DFK_MRX_LIST), 0);
    CaptureStderr();
    EXPECT_EQ(header_of(k_list_header, 3), 0);
    EXPECT_EQ(GetCapturedStderr(), "Unrecognized data file type 3\n");
}

TEST(VersionHeader, PositionEndsBehindTheHeader) {
    TempDir t;
    write_file(t.file("f"), std::string(k_list_header) + "rest");
    FilePtr f = open_file(t.file("f"), "r");
    ASSERT_EQ(check_version_header(f.get(), DFK_MRX_LIST), 1);
    char buf[5] = {};
    ASSERT_EQ(std::fread(buf, 1, 4, f.get()), 4u);
    EXPECT_STREQ(buf, "rest");
}

class ListFile : public testing::Test {
  protected:
    void SetUp() override {
        hl_reset();
        free_host_info_list(host_info_list);
    }
    void TearDown() override { free_host_info_list(host_info_list); }
    TempDir tmp;
};

TEST_F(ListFile, SaveWritesHeaderAndWholeSecondsWithOwnerOnlyMode) {
    DeviceList recs;
    MorixRecordPtr a = new_host_node(), b = new_host_node();
    a->name = "mrx-a";
    a->community = "public";
    a->timeout = 2500000;
    a->retries = 2;
    b->name = "10.1.1.1";
    b->community = "vantor";
    b->timeout = 3000000;
    b->retries = 0;
    recs.insert(a, 0);
    recs.insert(b, 1);
    std::string path = tmp.file("list.mrx");
    write_file(path, "old content that is longer than the new one ...................");
    chmod(path.c_str(), 0644);
    ASSERT_EQ(save_mrx_list_exec(path, recs, W_MAIN_WINDOW), 1);
    EXPECT_EQ(read_file(path), std::string(k_list_header) +
                                   "#\nmrx-a | public | 2 | 2\n10.1.1.1 | vantor | 3 | 0\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ListFile, SaveRefusals) {
    DeviceList recs;
    EXPECT_EQ(save_mrx_list_exec("", recs, W_MAIN_WINDOW), 0);
    EXPECT_EQ(save_mrx_list_exec(tmp.file("no/such/dir/x"), recs, W_MAIN_WINDOW), 0);
    ASSERT_EQ(mkfifo(tmp.file("fifo").c_str(), 0600), 0); // refused, not waited on
    EXPECT_EQ(save_mrx_list_exec(tmp.file("fifo"), recs, W_MAIN_WINDOW), 0);
    EXPECT_EQ(
        hl_texts("warn"),
        (std::vector<std::string>{"You did not specify a list file.",
                                  "Unable to save list to a file: \n\n" + tmp.file("no/such/dir/x"),
                                  "Unable to save list to a file: \n\n" + tmp.file("fifo")}));
}

TEST_F(ListFile, SaveProcStripsBlanksAndAsksBeforeOverwriting) {
    DeviceList recs;
    std::string path = tmp.file("exists.mrx");
    write_file(path, "keep");
    hl_queue_answer(ASK_CANCEL);
    EXPECT_EQ(save_mrx_list_proc(W_MAIN_WINDOW, " " + path + " ", recs), 0);
    EXPECT_EQ(read_file(path), "keep");
    EXPECT_TRUE(hl_texts("warn").empty()); // the front end tells of the blanks
    ASSERT_EQ(hl_texts("ask").size(), 1u);
    EXPECT_EQ(hl_texts("ask")[0], "The following Morix list already exists:\n\n    exists.mrx\n\n"
                                  "Do you want to overwrite it?");
    hl_queue_answer(ASK_OK);
    EXPECT_EQ(save_mrx_list_proc(W_MAIN_WINDOW, path, recs), 1);
    EXPECT_EQ(read_file(path), std::string(k_list_header) + "#\n");
}

TEST_F(ListFile, LoadRefusalsChangeNothing) {
    MorixRecordPtr owned = new_host_node();
    MorixRecord* keep = owned.get();
    keep->name = "kept";
    ASSERT_EQ(host_info_list.insert(owned, 0), 0);
    write_file(tmp.file("script.scr"), k_script_header);
    write_file(tmp.file("nohash"), "#\n#DB_VERSION: V1.0\n");
    EXPECT_EQ(load_mrx_list_exec("", 1, 0), 0);
    EXPECT_EQ(load_mrx_list_exec(tmp.path(), 1, 0), 0);
    EXPECT_EQ(load_mrx_list_exec(tmp.file("script.scr"), 1, 0), 0);
    EXPECT_EQ(load_mrx_list_exec(tmp.file("nohash"), 1, 0), 0);
    EXPECT_EQ(mrx_lst_cnt, 1);
    EXPECT_EQ(host_info_list[0], keep);
    EXPECT_EQ(hl_texts("warn"),
              (std::vector<std::string>{
                  "You did not specify a list file.", "You did not specify a list file.",
                  tmp.file("script.scr") + " is not a Morix Manager Morix list.",
                  tmp.file("nohash") + " is not a Morix Manager Morix list."}));
}

TEST_F(ListFile, InvalidLinesAreReportedAndSkipped) {
    std::string path = tmp.file("bad.mrx");
    write_file(path, std::string(k_list_header) +
                         "#\n\n   \n# comment\nmrx|vantor|3|2\n"
                         "mrx | vantor | x | 2\nmrx | vantor | 99999 | 2\n"
                         "mrx | vantor | 1 | 1000000000\nmrx\x1b[2J | vantor | 1 | \x07x\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(load_mrx_list_exec(path, 1, 0), 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Invalid " + path + " data line: \n\tmrx|vantor|3|2\n"), std::string::npos);
    EXPECT_NE(out.find("\tmrx | vantor | x | 2\n"), std::string::npos);
    EXPECT_NE(out.find("\tmrx | vantor | 99999 | 2\n"), std::string::npos);
    EXPECT_NE(out.find("\tmrx | vantor | 1 | 1000000000\n"), std::string::npos); // retries
    // control bytes of a damaged line never reach the terminal as they are
    EXPECT_NE(out.find("\tmrx\\x1b[2J | vantor | 1 | \\x07x\n"), std::string::npos) << out;
    EXPECT_EQ(out.find('\x1b'), std::string::npos);
    EXPECT_EQ(mrx_lst_cnt, 0);
}

} // namespace
