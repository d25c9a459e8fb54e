IP address handed to the PPP or SLIP caller on this WAN channel.
Setup mode hands out consecutive addresses to all channels.
