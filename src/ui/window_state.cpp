#include "ui/window_state.h"

WindowReaders window_readers;

MainSelection main_selection() {
    return window_readers.main_selection ? window_readers.main_selection() : MainSelection{};
}

bool window_open(int form, int table) {
    return window_readers.window_open ? window_readers.window_open(form, table) : false;
}

std::string page_read(int id, int what) {
    return window_readers.page_read ? window_readers.page_read(id, what) : std::string();
}

bool page_toggle(int id) {
    return page_read(id, PR_TOGGLE) == "1";
}

PageListState page_list(int id, int table) {
    return window_readers.page_list ? window_readers.page_list(id, table) : PageListState{};
}
