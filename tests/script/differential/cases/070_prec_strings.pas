var s: string;
begin
  s := 'a' + 'b' + 'c';
  PrintLn(s);
  s := 'x' + IntToStr(1 + 2) + 'y';
  PrintLn(s);
  s := IntToStr(2 * 3) + IntToStr(4);
  PrintLn(s);
  Print('concat compare: '); PrintLn('ab' + 'c' = 'abc');
  Print('ordering: '); PrintLn('a' + 'z' < 'b');
  PrintLn('' + '' + 'only');
end.
