var s, item: string;
  p, n: Integer;
begin
  s := 'alpha;beta;;gamma';
  n := 0;
  while Length(s) > 0 do
  begin
    p := Pos(';', s);
    if p = 0 then
    begin
      item := s;
      s := '';
    end
    else
    begin
      item := Copy(s, 1, p - 1);
      Delete(s, 1, p);
    end;
    n := n + 1;
    PrintLn(IntToStr(n) + ': <' + item + '>');
  end;
end.
