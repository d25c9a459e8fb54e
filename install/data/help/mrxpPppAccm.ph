Async control character map that PPP asks for, as 8 hexadecimal digits
(00000000 when the link passes every control character).
