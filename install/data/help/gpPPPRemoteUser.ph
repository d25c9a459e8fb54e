User name the WAN channels send when they authenticate to the far end.
