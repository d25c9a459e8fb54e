Largest reassembled packet of a multilink bundle (MRRU), 64 to 1600 bytes.
