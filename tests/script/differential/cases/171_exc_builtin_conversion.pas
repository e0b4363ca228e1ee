var n: Integer;
  x: Float;
begin
  n := 5;
  try
    n := StrToInt('x');
  except
    on E: Exception do PrintLn('StrToInt failed');
  end;
  PrintLn(n);
  x := 1.5;
  try
    x := StrToFloat('1.2.3');
  except
    on E: Exception do PrintLn('StrToFloat failed');
  end;
  PrintLn(x);
  try
    n := StrToInt('12') + StrToInt('');
  except
    on E: Exception do PrintLn('second operand failed');
  end;
  PrintLn(n);
end.
