Whether the port may be used: enabled, disabled (no new sessions), off
(the port is shut down) or maintenance.
