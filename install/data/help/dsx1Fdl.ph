Facility data link use on ESF lines: dsx1Ansi-T1-403, dsx1Att-54016,
dsx1Fdl-none or other.
