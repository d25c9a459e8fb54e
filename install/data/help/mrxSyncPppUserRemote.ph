User name this end sends to the far end of the sync PPP link.
