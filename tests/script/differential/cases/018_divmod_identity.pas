// (a div b) * b + a mod b = a for every sign combination.
var a, b, q, r, fails, checked: Integer;
begin
  fails := 0;
  checked := 0;
  for a := -20 to 20 do
    for b := -7 to 7 do
      if b <> 0 then
      begin
        q := a div b;
        r := a mod b;
        checked := checked + 1;
        if q * b + r <> a then
          fails := fails + 1;
        if (r <> 0) and ((r < 0) <> (a < 0)) then
          fails := fails + 1;
      end;
  Print('checked='); PrintLn(checked);
  Print('fails='); PrintLn(fails);
  Print('-20 div 7='); PrintLn(-20 div 7);
  Print('-20 mod 7='); PrintLn(-20 mod 7);
end.
