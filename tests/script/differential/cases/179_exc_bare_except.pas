var n: Integer;
begin
  n := 0;
  try
    raise Exception.Create('ignored text');
  except
    n := 1;
  end;
  PrintLn(n);
  try
    n := StrToInt('bad');
  except
    PrintLn('bare handler');
  end;
  PrintLn(n);
end.
