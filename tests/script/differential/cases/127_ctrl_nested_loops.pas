// break and continue act on the innermost loop only.
var i, j: Integer;
  s: string;
begin
  for i := 1 to 4 do
  begin
    s := IntToStr(i) + ':';
    for j := 1 to 4 do
    begin
      if j = i then continue;
      if j > 3 then break;
      s := s + ' ' + IntToStr(j);
    end;
    PrintLn(s);
    if i = 3 then break;
  end;
  PrintLn('i=' + IntToStr(i));
end.
