// The long-operation guard shows itself only through the front end's
// display, and after a cancel marks the devices it left unserved.
#include <gtest/gtest.h>

#include "devices/long_op.h"
#include "snmp_access/morix_record.h"
#include "snmp_access/snmp_engine.h"
#include "ui/progress.h"

namespace {

// Writes down what the operation shows; the poll numbered cancel_at
// (from 0) cancels.
class RecordingDisplay : public OperationDisplay {
  public:
    std::vector<std::string> seen;
    int cancel_at = -1;
    bool cancel = false;

    void busy(bool without_work) override {
        seen.push_back(without_work ? "busy, no work" : "busy");
    }
    void idle() override { seen.push_back("idle"); }
    void open(int, const std::string& title, const std::string& label, bool confirm,
              bool follow_snmp, bool scale) override {
        seen.push_back("open " + title + ": " + label + (confirm ? " confirm" : "") +
                       (follow_snmp ? " snmp" : "") + (scale ? " scale" : ""));
    }
    void label(const std::string& text, const std::string& device) override {
        seen.push_back("label " + text + " / " + device);
    }
    bool poll(int percent) override {
        seen.push_back("poll " + std::to_string(percent));
        cancel = cancel || cancel_at-- == 0;
        return cancel;
    }
    bool cancelled() override { return cancel; }
    bool cancel_requested() override { return cancel; }
    void clear_cancel() override { cancel = false; }
    bool close() override {
        seen.push_back("close");
        return cancel;
    }
};

class LongOp : public testing::Test {
  protected:
    void SetUp() override { set_front_end_display(&shown); }
    void TearDown() override { set_front_end_display(nullptr); }
    RecordingDisplay shown;
};

TEST_F(LongOp, FlagsChooseTheCursorAndTheDialog) {
    struct Row {
        int flags;
        std::vector<std::string> seen;
    };
    for (const Row& r : {
             Row{LO_BUSY | LO_CONFIRM, {"busy", "open T: L confirm scale", "close", "idle"}},
             Row{LO_FOLLOW_SNMP | LO_NO_SCALE, {"open T: L snmp", "close"}},
         }) {
        shown.seen.clear();
        { LongOperation op(0, "T", "L", r.flags); }
        EXPECT_EQ(shown.seen, r.seen) << r.flags;
    }
}

TEST_F(LongOp, ACancelMarksTheUnservedAndIsAnsweredAgain) {
    MorixRecordPtr done = new_host_node(), left = new_host_node();
    LongOperation op;
    op.busy(true);
    op.open(0, "T", "L", 0);
    op.unserved({left.get()});
    op.progress("Loading", "a");
    shown.cancel_at = 1;
    EXPECT_FALSE(op.cancelled(10));
    EXPECT_TRUE(poll_cancel(20));
    EXPECT_TRUE(cancel_requested());
    EXPECT_TRUE(op.close());
    EXPECT_TRUE(op.close());
    EXPECT_EQ(left->status, SR_CANCELLED);
    EXPECT_NE(done->status, SR_CANCELLED);
    EXPECT_EQ(shown.seen,
              (std::vector<std::string>{"busy, no work", "open T: L scale", "label Loading / a",
                                        "poll 10", "poll 20", "close"}));
}

} // namespace
