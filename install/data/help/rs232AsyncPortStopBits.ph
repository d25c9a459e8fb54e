Stop bits: one, two or oneAndHalf.
