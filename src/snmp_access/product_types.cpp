#include "snmp_access/product_types.h"

#include "snmp_access/morix_record.h"

namespace {

const char* const k_prod_type_strs[PROD_TYPE_COUNT] = {"",
                                                       "Unknown Product Type",
                                                       "ModelA",
                                                       "ModelB",
                                                       "ModelC",
                                                       "ModelD",
                                                       "ModelE",
                                                       "ModelF",
                                                       "ModelG",
                                                       "ModelH",
                                                       "ModelJ",
                                                       "ModelK",
                                                       "ModelL",
                                                       "ModelM",
                                                       "ModelN",
                                                       "ModelP",
                                                       "ModelQ",
                                                       "ModelR",
                                                       "ModelS",
                                                       "ModelT",
                                                       "ModelU",
                                                       "Unsupported Morix",
                                                       "NOT REACHABLE",
                                                       ""};

// List priorities by product type; index 23 has none.
const int k_prod_type_pri[PROD_TYPE_COUNT - 1] = {90, 91, 21, 20, 10, 11, 30, 40, 50, 31, 0, 12,
                                                  1,  22, 32, 2,  53, 51, 52, 54, 55, 92, 93};
constexpr int PRI_UNKNOWN = 1000;

} // namespace

int get_prod_type_pri(int product_type) {
    if (product_type < 0 || product_type >= PROD_TYPE_COUNT - 1)
        return PRI_UNKNOWN;
    return k_prod_type_pri[product_type];
}

const char* prod_type_str(int product_type) {
    if (product_type < 0 || product_type >= PROD_TYPE_COUNT)
        return "";
    return k_prod_type_strs[product_type];
}

int platform_of_product(int n) {
    switch (n) {
    case 10:
    case 12:
        return 2;
    case 14:
    case 15:
    case 17:
        return 3;
    case 16:
    case 18:
        return 4;
    case 19:
    case 20:
        return 5;
    case 21:
        return 7;
    case 22:
        return 8;
    default:
        return 1;
    }
}

int check_comm_srv(const MorixRecord* rec) {
    if (!rec)
        return 0;
    switch (rec->product_type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 11:
        return 1;
    default:
        return 0;
    }
}

std::string mrx_row_text(const MorixRecord* rec) {
    std::string product;
    if (!rec->reachable)
        product = prod_type_str(PT_NOT_REACHABLE);
    else if (*prod_type_str(rec->product_type))
        product = prod_type_str(rec->product_type);
    else
        product = prod_type_str(PT_UNKNOWN_PRODUCT);
    return "<" + rec->name + "> : " + product;
}
