enabled: a trap is sent when a dial-up link comes up or goes down.
