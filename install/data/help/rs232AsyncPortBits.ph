Data bits per character: 5, 6, 7 or 8.
