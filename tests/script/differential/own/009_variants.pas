// A Variant takes any value, converts on assignment to a typed variable (a Float to an Integer
// by rounding half to even), refuses a text that is no number, and starts unassigned, adding as 0.
var v, w, u: Variant;
  i: Integer;
  f: Float;
  s: string;
begin
  v := 5;
  PrintLn(v);
  v := 'txt';
  w := v;
  v := 2.5;
  PrintLn(w);
  PrintLn(v + 1);
  v := '42';
  i := v;
  v := '2.5';
  f := v;
  PrintLn(i + f);
  v := 2.5;
  s := v;
  PrintLn(s + '!');
  i := v;
  PrintLn(i);
  v := 3.5;
  i := v;
  PrintLn(i);
  v := 'abc';
  try
    i := v;
  except
    on E: Exception do PrintLn(E.Message);
  end;
  u := u + 1;
  s := 'x';
  PrintLn(u);
  PrintLn(s);
end.
