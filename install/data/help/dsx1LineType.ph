Framing of the WAN line: dsx1ESF (extended superframe), dsx1D4
(superframe), dsx1E1, dsx1E1-CRC and the multiframe E1 variants.
