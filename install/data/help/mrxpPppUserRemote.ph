User name that the port sends when it must authenticate itself to the
remote end of a PPP link (router-to-router links).
