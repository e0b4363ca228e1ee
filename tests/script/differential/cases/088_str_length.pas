var s: string;
  i: Integer;
begin
  Print('empty '); PrintLn(Length(''));
  Print('abc '); PrintLn(Length('abc'));
  s := 'it''s';
  Print('quote '); PrintLn(Length(s));
  s := 'a'#13#10'b';
  Print('crlf '); PrintLn(Length(s));
  s := '';
  for i := 1 to 100 do
    s := s + 'xy';
  Print('built '); PrintLn(Length(s));
  Print('concat '); PrintLn(Length(s + s));
end.
