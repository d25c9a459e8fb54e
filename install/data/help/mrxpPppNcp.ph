Network protocols that PPP offers on the port, as the protocol code that
Setup mode builds from its protocol toggles (1 IP only, 2 IPX only, 4
AppleTalk only, 5 IP and IPX, 6 IP and AppleTalk, 7 IPX and AppleTalk,
8 all three; higher codes add the two option toggles).
