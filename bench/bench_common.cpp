#include "bench_common.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "catalogue/mib_catalogue.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "support/sim_process.h"

namespace {

double seconds(const timeval& t) {
    return t.tv_sec + t.tv_usec / 1e6;
}

std::string oid_of(const BenchInstance& b) {
    const MibVarEntry* e = mib_var(b.mib_index);
    std::string s = e->oid_num;
    if (b.instance != -1)
        return s + "." + std::to_string(b.instance);
    return b.inst_str.empty() ? s : s + "." + b.inst_str;
}

} // namespace

std::string g_persist_dir = "/nonexistent";

Clock Clock::now() {
    Clock c;
    c.wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    rusage self{}, kids{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &kids);
    c.cpu_self = seconds(self.ru_utime) + seconds(self.ru_stime);
    c.cpu_children = seconds(kids.ru_utime) + seconds(kids.ru_stime);
    return c;
}

Clock Clock::operator-(const Clock& o) const {
    Clock c;
    c.wall = wall - o.wall;
    c.cpu_self = cpu_self - o.cpu_self;
    c.cpu_children = cpu_children - o.cpu_children;
    return c;
}

MorixRecord* bench_record(const std::string& address) {
    auto* rec = new MorixRecord();
    rec->name = address;
    rec->community = "vantor";
    rec->timeout = 2000000;
    rec->retries = 1;
    rec->asy_ports = 32;
    rec->syn_ports = 1;
    rec->para_ports = 1;
    rec->enet_ports = 1;
    rec->modem_count = 8;
    rec->wan_if_index = {1};
    rec->platform = 2;
    rec->product_type = 10;
    return rec;
}

std::vector<BenchInstance> answered_instances(MorixRecord* rec) {
    free_prm_list(rec);
    for (int id = 0; id < MAX_MIB_VARS; ++id) {
        const MibVarEntry* e = mib_var(id);
        if (!e || e->port_class > 10)
            continue;
        if (e->port_class == 0) {
            build_prm(rec, 0, 0, {}, 0, id, "");
            continue;
        }
        for (int t : {PT_ASY, PT_SYN, PT_PTR, PT_EN, PT_IMDM})
            if (check_port_type(id, t))
                build_prm(rec, 1, 0, {}, t, id, "");
    }
    mm_snmp(rec, SNMP_OP_GET);
    std::vector<BenchInstance> out;
    for (const ParamNode* n = rec->prm_list; n; n = n->next) {
        if (rec->status != 0 || n->status != 0)
            continue;
        BenchInstance b{n->mib_index, n->port_type, n->port_num, n->instance, n->inst_str, ""};
        b.oid = oid_of(b);
        out.push_back(b);
    }
    free_prm_list(rec);
    return out;
}

void add_instances(MorixRecord* rec, const std::vector<BenchInstance>& all, int n) {
    for (int i = 0; i < n && !all.empty(); ++i) {
        const BenchInstance& b = all[i % all.size()];
        add_prm_node(rec, b.mib_index, b.port_type, b.port_num, b.instance, b.inst_str.c_str(), "",
                     0);
    }
}

int snmpget_fetch(const std::string& address, const std::vector<BenchInstance>& all, int n,
                  int* requests) {
    int failed = 0;
    for (int start = 0; start < n && !all.empty(); start += MM_SNMP_CHUNK) {
        std::vector<std::string> argv = {"snmpget", "-v1", "-c", "vantor", "-t",  "2",
                                         "-r",      "1",   "-m", "",       "-On", address};
        for (int i = start; i < n && i < start + MM_SNMP_CHUNK; ++i)
            argv.push_back(all[i % all.size()].oid);
        ProgramResult r =
            run_program(argv, 20000, {"MIBS=", "SNMP_PERSISTENT_DIR=" + g_persist_dir});
        ++*requests;
        if (r.status != 0)
            ++failed;
    }
    return failed;
}

long long callgrind_instructions(const std::vector<std::string>& argv,
                                 const std::string& toggle_fn) {
    std::string out = "/tmp/mm_bench_callgrind." + std::to_string(getpid());
    std::vector<std::string> cmd = {"valgrind", "--tool=callgrind", "--callgrind-out-file=" + out};
    if (!toggle_fn.empty()) {
        cmd.push_back("--collect-atstart=no");
        cmd.push_back("--toggle-collect=" + toggle_fn);
    }
    cmd.insert(cmd.end(), argv.begin(), argv.end());
    ProgramResult r = run_program(cmd, 300000, {"MIBS=", "SNMP_PERSISTENT_DIR=" + g_persist_dir});
    long long total = -1;
    std::ifstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("summary:", 0) == 0 || line.rfind("totals:", 0) == 0) {
            std::istringstream s(line.substr(line.find(':') + 1));
            s >> total;
        }
    }
    unlink(out.c_str());
    return r.status == 0 ? total : -1;
}
