// break inside a case statement leaves the enclosing loop.
var i: Integer;
  s: string;
begin
  s := '';
  for i := 1 to 10 do
  begin
    case i of
      3: continue;
      6: break;
    else
      s := s + IntToStr(i);
    end;
    s := s + ',';
  end;
  PrintLn(s);
  PrintLn(i);
end.
