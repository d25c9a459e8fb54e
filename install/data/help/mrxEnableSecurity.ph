enabled: users are checked (name and password) by the security
servers before they get access; disabled: no access checks at all, the
per-port security switches are then ignored.
