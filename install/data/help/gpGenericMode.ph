Mode of the WAN channels: cli, slip, ppp, arap, ipx, autoDetect,
dedicated, printer, portServer or lat (as for async ports).
