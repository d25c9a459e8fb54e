// Compare: two devices, a device and a script, or two scripts. The report
// goes into the output area; the differences found are kept so that they
// can be saved as a script that makes the second side equal to the first.
#pragma once

#include <string>
#include <vector>

enum CmpKind { CMP_MRX_MRX = 1, CMP_MRX_FIL = 2, CMP_FIL_FIL = 3 };

struct CmpRequest {
    int kind = CMP_MRX_MRX;
    std::string mrx1, mrx2;   // device names (kinds 1 and 2)
    std::string file1, file2; // script paths (kinds 2 and 3)
    int code = 1;             // what two devices compare (1..8)
    int port_type = 1;        // the port type selector
    std::string ports1, ports2;
};

// One difference, as a line of the differences script would set it.
struct CmpDiff {
    int mib_index = 0;
    int port_type = 0;
    int port = 0;           // SCR_WILDCARD allowed for scripts
    bool first_has = false; // the first side holds a value
    std::string value;      // the first side's value as a script writes it
};
extern std::vector<CmpDiff> g_cmp_diffs;

// The window's Compare: validation, then the comparison. Returns the
// number of differences, or -1 when nothing was compared.
int process_compare(const CmpRequest& req, int output, int parent);
int compare_mrx_mrx(const CmpRequest& req, int output, int parent);
int compare_mrx_fil(const CmpRequest& req, int output, int parent);
int compare_fil_fil(const std::string& path1, const std::string& path2, int output, int parent);

// Writes the kept differences as a script to the typed name (white space
// removed, with the warning); an existing file only after the overwrite
// question. The lines left out (values that cannot be scripted) are listed
// in output. 0, or -1 (message shown, or the question declined).
int save_cmp_diff_script(const std::string& typed, int output, int parent);
