Authentication protocol demanded from PPP callers: none, pap, chap,
or chapOrPap (CHAP, falling back to PAP when the caller refuses CHAP).
