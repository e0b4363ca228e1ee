var s: string;
begin
  s := 'abc';
  Insert('XY', s, 2);
  Print('at 2 '); PrintLn(s);
  s := 'abc';
  Insert('XY', s, 1);
  Print('at 1 '); PrintLn(s);
  s := 'abc';
  Insert('XY', s, 4);
  Print('at 4 '); PrintLn(s);
  s := 'abc';
  Insert('XY', s, 10);
  Print('at 10 '); PrintLn(s);
  s := '';
  Insert('XY', s, 1);
  Print('into empty '); PrintLn(s);
  s := 'abc';
  Insert('', s, 2);
  Print('empty insert '); PrintLn(s);
end.
