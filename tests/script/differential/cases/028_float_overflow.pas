// Floating-point overflow raises an exception.
var x: Float;
begin
  x := 1.0E300;
  try
    x := x * 1.0E300;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('1e300*1e300 raised');
  end;
  x := 1.0E308;
  try
    x := x * 10;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('1e308*10 raised');
  end;
  x := 1.0E308;
  try
    x := x + x;
    PrintLn('no exception');
  except
    on E: Exception do PrintLn('1e308+1e308 raised');
  end;
  x := 1.0E307;
  x := x * 10;
  Print('1e307*10='); PrintLn(x);
end.
