Where the clock of a sync line comes from: internal (the device),
external (the modem or DSU) or split.
