// and binds like *, or and xor like +, not binds tightest.
var t, f: Boolean;
begin
  t := True;
  f := False;
  Print('t or f and f='); PrintLn(t or f and f);
  Print('(t or f) and f='); PrintLn((t or f) and f);
  Print('not t or t='); PrintLn(not t or t);
  Print('not (t or t)='); PrintLn(not (t or t));
  Print('f and f or t='); PrintLn(f and f or t);
  Print('t xor t and f='); PrintLn(t xor t and f);
  Print('(t xor t) and f='); PrintLn((t xor t) and f);
  Print('not f and f='); PrintLn(not f and f);
  Print('t or f xor t='); PrintLn(t or f xor t);
end.
