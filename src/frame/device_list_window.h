// The main window's device list: the frame's side of the list commands and
// the one renderer of their outcomes into the list.
#pragma once

#include <string>

#include "devices/mrx_list.h"
#include "devices/mrx_list_file.h"

// Shows a list command's outcome in the main window: the name and community
// fields it writes back, the rows (only the rows that differ are deleted or
// added, so the others keep their place and selection), the rows to select,
// the row brought into view with the focus, then the warnings over parent.
void render_device_list(const ListOutcome& out, int parent);
// Add, Query and Delete of the main window: the devices they serve come
// from the list's selection (a list of one device needs none).
void add_to_device_list(const AddMorixRequest& req);
void query_device_list(const std::string& alt_community);
void delete_morix();
// The progress of a load in the work dialog over parent, titled as the load
// begins ("Creating Morix List"); the dialog goes with the progress.
class WorkDialogProgress : public Progress {
  public:
    explicit WorkDialogProgress(int parent) : parent_(parent) {}
    ~WorkDialogProgress() override;
    void begin(const std::string& what, int total) override;
    void step(int done, int total, const std::string& current) override;
    bool cancelled() override;

  private:
    int parent_;
    std::string title_;
};
// Loads a list file into the main window's list with its progress in the
// work dialog, taken down before the list is shown.
ListOutcome load_into_device_list(const LoadListRequest& req, int parent);
