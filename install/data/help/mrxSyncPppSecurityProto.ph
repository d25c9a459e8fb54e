Authentication protocol on the sync link: none, pap, chap or chapOrPap.
