// What every command works with besides its request: the device list, the
// catalogue, the SNMP defaults of new records, and the devices the operator
// selected. The front ends fill the selection (the selection check); the
// commands read it, or better take an explicit list of devices from it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/func_catalogue.h"
#include "catalogue/mib_catalogue.h"
#include "snmp_access/morix_record.h"
#include "ui/app_globals.h"

// The catalogue's tables, read once at start-up and shared by every command.
struct CatalogueHandle {
    std::array<std::unique_ptr<MibVarEntry>, MAX_MIB_VARS>* variables = nullptr;
    std::array<EnumList, MAX_MIB_ENUMS>* enums = nullptr;
    std::array<std::unique_ptr<MgmtFunction>, MAX_MIB_FUNCS>* functions = nullptr;
    std::array<std::vector<int>, MAX_FUNC_GROUPS>* groups = nullptr;
};

class Session {
  public:
    Session(DeviceList& devices, CatalogueHandle catalogue, SnmpDefaults& defaults);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    DeviceList& devices() const { return devices_; }
    const CatalogueHandle& catalogue() const { return catalogue_; }
    // Time-out, retries and community that new device records start with.
    SnmpDefaults& snmp_defaults() const { return defaults_; }

    // The selected devices, in list order (records of the device list only).
    const std::vector<MorixRecord*>& selection() const { return selection_; }
    // Replaces the selection; records not in the device list are left out,
    // the rest is kept in list order.
    void select(const std::vector<MorixRecord*>& devices);
    void clear_selection() { selection_.clear(); }
    bool is_selected(const MorixRecord* rec) const;
    // The selected devices that are reachable, in list order: the devices a
    // command serves after the selection check.
    std::vector<MorixRecord*> selected_reachable() const;
    // A record leaves the device list: it is no longer selected.
    void forget(const MorixRecord* rec);

  private:
    DeviceList& devices_;
    CatalogueHandle catalogue_;
    SnmpDefaults& defaults_;
    std::vector<MorixRecord*> selection_;
};

// The program's session: host_info_list, the catalogue's tables and
// mm_snmp_defaults.
Session& session();
