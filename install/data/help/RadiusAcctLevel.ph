What RADIUS accounting records: none, login, session or full.
