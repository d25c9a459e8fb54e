Telephone switch (ISDN variant) of the WAN line, for example
5ESS(T1_ISDN), DMS-100(T1_ISDN), NI-2(T1_ISDN), ETS1(E1_ISDN), or a
non-ISDN type such as T1_CAS or E1_R2. Must match the carrier's line. The
device must be rebooted.
