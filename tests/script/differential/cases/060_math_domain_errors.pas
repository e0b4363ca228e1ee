// Arguments outside a function's domain raise exceptions.
var x: Float;
begin
  x := -1;
  try
    PrintLn(Sqrt(x));
  except
    on E: Exception do PrintLn('Sqrt(-1) raised');
  end;
  x := 0;
  try
    PrintLn(Ln(x));
  except
    on E: Exception do PrintLn('Ln(0) raised');
  end;
  x := -1;
  try
    PrintLn(Ln(x));
  except
    on E: Exception do PrintLn('Ln(-1) raised');
  end;
  x := 1000;
  try
    PrintLn(Exp(x));
  except
    on E: Exception do PrintLn('Exp(1000) raised');
  end;
  x := 2;
  try
    PrintLn(ArcSin(x));
  except
    on E: Exception do PrintLn('ArcSin(2) raised');
  end;
  PrintLn('done');
end.
