function ReplaceAll(s: string; const what, by: string): string;
var p: Integer;
begin
  Result := '';
  p := Pos(what, s);
  while p > 0 do
  begin
    Result := Result + Copy(s, 1, p - 1) + by;
    Delete(s, 1, p + Length(what) - 1);
    p := Pos(what, s);
  end;
  Result := Result + s;
end;

begin
  PrintLn(ReplaceAll('a.b.c', '.', ','));
  PrintLn(ReplaceAll('aaaa', 'aa', 'b'));
  PrintLn(ReplaceAll('hello world', 'o', '0'));
  PrintLn(ReplaceAll('none', 'x', 'y'));
  PrintLn(ReplaceAll('%RESULT% := 1', '%RESULT%', '__var0[1]'));
end.
