var i: Integer;
begin
  for i := 1 to 4 do
    case i mod 3 of
      0: PrintLn('divisible');
    else
      PrintLn('remainder ' + IntToStr(i mod 3));
    end;
  case 42 of
    1: PrintLn('wrong');
  else
    begin
      Print('else ');
      PrintLn('block');
    end;
  end;
  case 5 * 2 of
    10: PrintLn('expression selector');
  end;
end.
