Offset of local time from Greenwich Mean Time, in minutes, from -720
to 720 (for example 60 for Central European Time, -300 for US Eastern).
