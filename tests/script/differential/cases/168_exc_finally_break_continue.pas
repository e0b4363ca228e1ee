var i: Integer;
begin
  for i := 1 to 5 do
  begin
    try
      if i = 2 then continue;
      if i = 4 then break;
      PrintLn('body ' + IntToStr(i));
    finally
      PrintLn('finally ' + IntToStr(i));
    end;
  end;
  PrintLn('after loop ' + IntToStr(i));
  i := 0;
  while True do
  begin
    i := i + 1;
    try
      if i = 3 then break;
    finally
      PrintLn('while finally ' + IntToStr(i));
    end;
  end;
end.
